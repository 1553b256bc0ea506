// The task record carried by every tree node, and the task register: the
// list of the Lists tab's records that the activation check and the
// calendar walk.
#pragma once

#include <cstddef>
#include <cstdint>

#include "base/boundedtext.h"
#include "base/platform.h"

struct RegisterEntry;
struct Schedule;

struct TaskRecord {
  uint8_t paired;  // set on an Active record while links are resolved
  Node treeitem;   // the node that carries this record in its own tree
  Node link;       // partner node in the other tree, or none
  // The link key as read from a list file, until ResolveLinks turns it into
  // `link` (saving computes keys afresh and leaves this alone). Held apart
  // from `link` so that a key can never be mistaken for a node.
  int32_t linkkey;
  char enterdate[17];
  char activedate[17];
  char completedate[17];
  char duedate[17];
  char autodate[11];
  char autotime[6];
  uint8_t duedateset;
  uint8_t autoactivate;
  uint8_t notify;
  uint8_t autotimeset;
  uint8_t email;
  // The record's own entry in the task register, or none; lets a record
  // leave the register without a walk.
  RegisterEntry* entry;
  // Numbers the records in the order they were made: tells a record from a
  // later one that happens to get the same address.
  uint64_t serial;
  // The record's place in its register's schedule (base/schedule.h): the
  // moment it was placed at, and whether it is placed, noted or outside.
  uint64_t momentkey;
  uint8_t scheduled;
};

// A zero-filled record on the heap; released with FreeTaskRecord, which
// also takes it out of its register.
TaskRecord* NewTaskRecord();
void FreeTaskRecord(TaskRecord* record);
// Called with every record FreeTaskRecord is about to release, so that a
// holder of a record (the Properties dialog) can let go of it in time.
using TaskRecordReleaseHook = void (*)(TaskRecord* record);
void SetTaskRecordReleaseHook(TaskRecordReleaseHook hook);

struct RegisterEntry {
  TaskRecord* record;
  RegisterEntry* previous;
  RegisterEntry* next;
  // The list of the records whose moment the schedule has still to learn
  // (base/schedule.h): in the entry, so that noting costs no allocation.
  RegisterEntry* notedPrevious;
  RegisterEntry* notedNext;
};

// Doubly linked, newest first. Owns its entries and its schedule, never
// the records.
struct TaskRegister {
  RegisterEntry* head;
  size_t count;
  Schedule* schedule;
  RegisterEntry* noted;
};

// A null record, or one already registered, is ignored. A record
// registered is noted in the schedule.
void RegisterTask(TaskRegister& reg, TaskRecord* record);
// Takes the entry out of the list and frees it (not its record).
void UnlinkEntry(TaskRegister& reg, RegisterEntry* entry);
// Takes the record's entry out of the register, if it has one.
void UnregisterTask(TaskRegister& reg, TaskRecord* record);
// Frees every entry and the schedule; the records stay.
void ClearRegister(TaskRegister& reg);
RegisterEntry* FirstEntry(const TaskRegister& reg);
RegisterEntry* NextEntry(const RegisterEntry* entry);
TaskRecord* EntryRecord(const RegisterEntry* entry);
