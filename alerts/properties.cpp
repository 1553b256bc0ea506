#include "alerts/properties.h"

#include "base/appstate.h"
#include "base/boundedtext.h"
#include "base/schedule.h"
#include "base/taskrecord.h"
#include "data/datetext.h"

namespace {

TaskRecord* gHeld = nullptr;
// The held record's auto-activation when the dialog was filled.
struct Waiting {
  bool set;
  bool atTime;
  std::string date;
  std::string time;
};
Waiting gWaiting;

void ForgetReleased(TaskRecord* record) {
  if (record == gHeld) gHeld = nullptr;
}

// Whether the form shows the auto-activation the record was waiting for.
bool ShowsWaitingMoment(const PropertiesForm& form) {
  return form.autoActivate && form.atTime == gWaiting.atTime && FormatDate(form.autoDate) == gWaiting.date &&
         (!form.atTime || FormatTime(form.autoTime) == gWaiting.time);
}

std::string StampOr(const char* stamp, const char* missing) {
  return *stamp ? stamp : missing;
}

// A date picker's value: the record's date at 00:00, or now.
DateTime DateOr(const char* text, const DateTime& now, bool* fromRecord) {
  DateTime value = now;
  *fromRecord = *text != '\0';
  if (*fromRecord) {
    ParseDate(value, text);
    ClearTime(value);
  }
  return value;
}

}  // namespace

PropertiesForm PropertiesFormOf(const TaskRecord& record, const DateTime& now) {
  PropertiesForm form{};
  form.entered = StampOr(record.enterdate, "Unknown");
  form.activated = StampOr(record.activedate, "Inactive");
  form.completed = StampOr(record.completedate, "Incomplete");
  // Flags read from a list file keep their bit values: any nonzero is set.
  form.dueDateSet = record.duedateset != 0;
  form.autoActivate = record.autoactivate != 0;
  form.atTime = record.autotimeset != 0;
  form.notify = record.notify != 0;
  form.email = record.email != 0;
  form.dueDate = DateOr(record.duedate, now, &form.dueDateFromRecord);
  form.autoDate = DateOr(record.autodate, now, &form.autoDateFromRecord);
  form.autoTimeFromRecord = record.autotime[0] != '\0';
  form.autoTime = now;
  if (form.autoTimeFromRecord) ParseTime(form.autoTime, record.autotime);
  return form;
}

void StorePropertiesForm(const PropertiesForm& form, TaskRecord& record) {
  record.duedateset = form.dueDateSet ? 1 : 0;
  record.autoactivate = form.autoActivate ? 1 : 0;
  record.notify = form.notify ? 1 : 0;
  record.email = form.email ? 1 : 0;
  record.autotimeset = form.atTime ? 1 : 0;
  CopyField(record.duedate, FormatDate(form.dueDate).c_str());
  CopyField(record.autodate, FormatDate(form.autoDate).c_str());
  CopyField(record.autotime, FormatTime(form.autoTime).c_str());
  NoteMomentChanged(App().tasks, &record);
}

void HoldPropertiesRecord(TaskRecord* record) {
  SetTaskRecordReleaseHook(ForgetReleased);
  gHeld = record;
  gWaiting = record ? Waiting{record->autoactivate != 0, record->autotimeset != 0, record->autodate,
                              record->autotime}
                    : Waiting{};
}

TaskRecord* HeldPropertiesRecord() {
  return gHeld;
}

void StoreHeldProperties(const PropertiesForm& form) {
  if (!gHeld) return;
  const bool fired = gWaiting.set && !gHeld->autoactivate;
  StorePropertiesForm(form, *gHeld);
  if (fired && ShowsWaitingMoment(form)) {
    gHeld->autoactivate = 0;
    DropFromSchedule(App().tasks, gHeld);
  }
}
