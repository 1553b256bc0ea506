#include "base/schedule.h"

#include <new>
#include <set>
#include <tuple>

#include "base/taskrecord.h"

// A record's place: its moment, then its serial so that one moment keeps
// the order the records were made in, then the record itself.
using Place = std::tuple<MomentKey, uint64_t, TaskRecord*>;

struct Schedule {
  std::set<Place> placed;
};

namespace {

enum : uint8_t { kOutside = 0, kNoted = 1, kPlaced = 2 };

Place PlaceOf(const TaskRecord& record) {
  return Place{record.momentkey, record.serial, const_cast<TaskRecord*>(&record)};
}

void LinkNoted(TaskRegister& reg, RegisterEntry* entry) {
  entry->notedPrevious = nullptr;
  entry->notedNext = reg.noted;
  if (reg.noted) reg.noted->notedPrevious = entry;
  reg.noted = entry;
}

void UnlinkNoted(TaskRegister& reg, RegisterEntry* entry) {
  if (entry->notedPrevious) entry->notedPrevious->notedNext = entry->notedNext;
  if (entry->notedNext) entry->notedNext->notedPrevious = entry->notedPrevious;
  if (reg.noted == entry) reg.noted = entry->notedNext;
  entry->notedPrevious = entry->notedNext = nullptr;
}

}  // namespace

void NoteMomentChanged(TaskRegister& reg, TaskRecord* record) {
  if (!record || !record->entry || record->scheduled == kNoted) return;
  if (record->scheduled == kPlaced && reg.schedule) reg.schedule->placed.erase(PlaceOf(*record));
  record->scheduled = kNoted;
  LinkNoted(reg, record->entry);
}

void DropFromSchedule(TaskRegister& reg, TaskRecord* record) {
  if (!record) return;
  if (record->scheduled == kPlaced && reg.schedule) reg.schedule->placed.erase(PlaceOf(*record));
  if (record->scheduled == kNoted && record->entry) UnlinkNoted(reg, record->entry);
  record->scheduled = kOutside;
  record->momentkey = kNoMoment;
}

void FreeSchedule(TaskRegister& reg) {
  delete reg.schedule;
  reg.schedule = nullptr;
}

std::vector<ScheduledTask> ScheduledUpTo(TaskRegister& reg, MomentKey upTo, MomentOfRecord momentOf) {
  while (RegisterEntry* entry = reg.noted) {
    UnlinkNoted(reg, entry);
    TaskRecord& record = *entry->record;
    record.momentkey = momentOf(record);
    record.scheduled = kOutside;
    if (record.momentkey == kNoMoment) continue;
    // Out of memory: the task simply is not scheduled, as when the register
    // could not take it.
    if (!reg.schedule) reg.schedule = new (std::nothrow) Schedule;
    if (!reg.schedule) continue;
    reg.schedule->placed.insert(PlaceOf(record));
    record.scheduled = kPlaced;
  }
  std::vector<ScheduledTask> due;
  if (!reg.schedule) return due;
  for (const Place& place : reg.schedule->placed) {
    if (std::get<0>(place) > upTo) break;
    due.push_back(ScheduledTask{std::get<2>(place), std::get<0>(place), std::get<1>(place)});
  }
  return due;
}

bool StillScheduled(const TaskRegister& reg, const ScheduledTask& task) {
  return reg.schedule && reg.schedule->placed.count(Place{task.moment, task.serial, task.record}) != 0;
}
