// The tasks of a register that wait for a moment, ordered by it, so that
// the minute's check reads the tasks due and not every task. The register
// keeps it right: a record registered is noted, one that leaves the
// register leaves it too, and whoever changes a registered record's moment
// notes the record again. What a moment is belongs to the activation
// check, which places the noted records when it next looks.
#pragma once

#include <cstdint>
#include <vector>

struct TaskRecord;
struct TaskRegister;

// A moment as one number that orders as the moments do; kNoMoment: the
// record waits for nothing.
using MomentKey = uint64_t;
constexpr MomentKey kNoMoment = 0;
using MomentOfRecord = MomentKey (*)(const TaskRecord& record);

// The record's moment may have changed (its settings were edited, or it
// was just registered). Records outside the register are ignored.
void NoteMomentChanged(TaskRegister& reg, TaskRecord* record);
// Takes the record out of the schedule (it leaves the register, or its
// moment has passed).
void DropFromSchedule(TaskRegister& reg, TaskRecord* record);
// Frees the schedule; its records stay.
void FreeSchedule(TaskRegister& reg);

// A record the schedule answered, with what it was placed by: after a box
// the record may be gone, and only the schedule can say so safely.
struct ScheduledTask {
  TaskRecord* record;
  MomentKey moment;
  uint64_t serial;
};
// Places every noted record at `momentOf` (or nowhere: only records that
// wait for a moment take room), then answers the
// records placed at or before `upTo`, earliest first (the older record
// first at one moment).
std::vector<ScheduledTask> ScheduledUpTo(TaskRegister& reg, MomentKey upTo, MomentOfRecord momentOf);
// Whether the task is still placed as it was answered. Never reads the
// record, which may have been freed.
bool StillScheduled(const TaskRegister& reg, const ScheduledTask& task);
