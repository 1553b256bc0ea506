// The Properties dialog without its window: what its controls show for a
// task record, what OK writes back, and the record the dialog holds.
#pragma once

#include <string>

#include "base/platform.h"

struct TaskRecord;

// The controls' values, by control.
struct PropertiesForm {
  std::string entered;    // 201: the entry stamp, or "Unknown"
  std::string activated;  // 202: the activation stamp, or "Inactive"
  std::string completed;  // 203: the completion stamp, or "Incomplete"
  bool dueDateSet;        // 215
  DateTime dueDate;       // 216
  bool autoActivate;      // 204
  DateTime autoDate;      // 205
  bool atTime;            // 211 checked, 210 ("Startup") when not
  DateTime autoTime;      // 212
  bool notify;            // 213
  bool email;             // 217
  // Whether each picker's value came from the record (or is now): the
  // message when a picker refuses it says which.
  bool dueDateFromRecord;
  bool autoDateFromRecord;
  bool autoTimeFromRecord;
};

// Filling: the record's stamps and settings; a date or time the record has
// not got shows `now`.
PropertiesForm PropertiesFormOf(const TaskRecord& record, const DateTime& now);
// OK: the five flags (1/0) and all three texts, whatever the boxes say;
// the flags alone say which texts are in force.
void StorePropertiesForm(const PropertiesForm& form, TaskRecord& record);

// The record the dialog was last filled from. It is let go of when the
// record is released (its task deleted while the dialog is open), so that
// OK never writes into a record that no longer exists.
void HoldPropertiesRecord(TaskRecord* record);
TaskRecord* HeldPropertiesRecord();
// OK: the form into the held record, if there still is one. An
// auto-activation that fired while the dialog was open stays done when the
// form still shows the moment it fired for: set again, the task would
// activate, and alert, a second time at the next check. A moment the user
// changed is set anew.
void StoreHeldProperties(const PropertiesForm& form);
