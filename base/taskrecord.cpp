#include "base/taskrecord.h"

#include <cstdlib>
#include <cstring>

#include "base/appstate.h"
#include "base/schedule.h"

namespace {

TaskRecordReleaseHook gReleaseHook = nullptr;

}  // namespace

void SetTaskRecordReleaseHook(TaskRecordReleaseHook hook) {
  gReleaseHook = hook;
}

TaskRecord* NewTaskRecord() {
  static uint64_t made = 0;
  // calloc: every text empty, every flag and handle zero.
  auto* record = static_cast<TaskRecord*>(std::calloc(1, sizeof(TaskRecord)));
  if (record) record->serial = ++made;
  return record;
}

void FreeTaskRecord(TaskRecord* record) {
  if (!record) return;
  if (gReleaseHook) gReleaseHook(record);
  // Only Lists records are registered, and only in the application's
  // register; the record's own entry lets it leave without a walk.
  if (record->entry) UnlinkEntry(App().tasks, record->entry);
  std::free(record);
}

void RegisterTask(TaskRegister& reg, TaskRecord* record) {
  if (!record || record->entry) return;
  auto* entry = static_cast<RegisterEntry*>(std::malloc(sizeof(RegisterEntry)));
  if (!entry) return;  // out of memory: the task simply is not scheduled
  entry->record = record;
  entry->notedPrevious = entry->notedNext = nullptr;
  entry->previous = nullptr;
  entry->next = reg.head;
  if (reg.head) reg.head->previous = entry;
  reg.head = entry;
  record->entry = entry;
  ++reg.count;
  NoteMomentChanged(reg, record);
}

void UnlinkEntry(TaskRegister& reg, RegisterEntry* entry) {
  if (!entry) return;
  DropFromSchedule(reg, entry->record);
  if (entry->previous) entry->previous->next = entry->next;
  if (entry->next) entry->next->previous = entry->previous;
  if (reg.head == entry) reg.head = entry->next;
  if (entry->record && entry->record->entry == entry) entry->record->entry = nullptr;
  if (reg.count > 0) --reg.count;
  std::free(entry);
}

void UnregisterTask(TaskRegister& reg, TaskRecord* record) {
  if (record && record->entry) UnlinkEntry(reg, record->entry);
}

void ClearRegister(TaskRegister& reg) {
  RegisterEntry* entry = reg.head;
  while (entry) {
    RegisterEntry* next = entry->next;
    if (entry->record && entry->record->entry == entry) {
      entry->record->entry = nullptr;
      entry->record->scheduled = 0;
      entry->record->momentkey = 0;
    }
    std::free(entry);
    entry = next;
  }
  reg.noted = nullptr;
  FreeSchedule(reg);
  reg.head = nullptr;
  reg.count = 0;
}

RegisterEntry* FirstEntry(const TaskRegister& reg) {
  return reg.head;
}

RegisterEntry* NextEntry(const RegisterEntry* entry) {
  return entry ? entry->next : nullptr;
}

TaskRecord* EntryRecord(const RegisterEntry* entry) {
  return entry ? entry->record : nullptr;
}
