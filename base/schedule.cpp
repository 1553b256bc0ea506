#include "base/schedule.h"

#include <new>
#include <set>
#include <tuple>
#include <unordered_set>

#include "base/taskrecord.h"

// A record's place: its moment, then its serial so that one moment keeps
// the order the records were made in, then the record itself.
using Place = std::tuple<MomentKey, uint64_t, TaskRecord*>;

struct Schedule {
  std::set<Place> placed;
  std::unordered_set<TaskRecord*> noted;
};

namespace {

enum : uint8_t { kOutside = 0, kNoted = 1, kPlaced = 2 };

Schedule* ScheduleOf(TaskRegister& reg) {
  if (!reg.schedule) reg.schedule = new (std::nothrow) Schedule;
  return reg.schedule;
}

Place PlaceOf(const TaskRecord& record) {
  return Place{record.momentkey, record.serial, const_cast<TaskRecord*>(&record)};
}

}  // namespace

void NoteMomentChanged(TaskRegister& reg, TaskRecord* record) {
  if (!record || !record->entry || record->scheduled == kNoted) return;
  Schedule* schedule = ScheduleOf(reg);
  // Out of memory: the task simply is not scheduled, as when the register
  // could not take it.
  if (!schedule) return;
  if (record->scheduled == kPlaced) schedule->placed.erase(PlaceOf(*record));
  record->scheduled = kNoted;
  schedule->noted.insert(record);
}

void DropFromSchedule(TaskRegister& reg, TaskRecord* record) {
  if (!record || record->scheduled == kOutside || !reg.schedule) return;
  if (record->scheduled == kPlaced)
    reg.schedule->placed.erase(PlaceOf(*record));
  else
    reg.schedule->noted.erase(record);
  record->scheduled = kOutside;
  record->momentkey = kNoMoment;
}

void FreeSchedule(TaskRegister& reg) {
  delete reg.schedule;
  reg.schedule = nullptr;
}

std::vector<ScheduledTask> ScheduledUpTo(TaskRegister& reg, MomentKey upTo, MomentOfRecord momentOf) {
  std::vector<ScheduledTask> due;
  Schedule* schedule = reg.schedule;
  if (!schedule) return due;
  for (TaskRecord* record : schedule->noted) {
    record->momentkey = momentOf(*record);
    record->scheduled = record->momentkey == kNoMoment ? kOutside : kPlaced;
    if (record->scheduled == kPlaced) schedule->placed.insert(PlaceOf(*record));
  }
  schedule->noted.clear();
  for (const Place& place : schedule->placed) {
    if (std::get<0>(place) > upTo) break;
    due.push_back(ScheduledTask{std::get<2>(place), std::get<0>(place), std::get<1>(place)});
  }
  return due;
}

bool StillScheduled(const TaskRegister& reg, const ScheduledTask& task) {
  return reg.schedule && reg.schedule->placed.count(Place{task.moment, task.serial, task.record}) != 0;
}

std::vector<TaskRecord*> ScheduleContents(const TaskRegister& reg) {
  std::vector<TaskRecord*> records;
  if (!reg.schedule) return records;
  for (const Place& place : reg.schedule->placed) records.push_back(std::get<2>(place));
  records.insert(records.end(), reg.schedule->noted.begin(), reg.schedule->noted.end());
  return records;
}
