#include "app/calendar.h"

#include <cstring>

#include "base/appstate.h"
#include "base/boundedtext.h"
#include "base/forest.h"
#include "base/prompts.h"
#include "base/taskrecord.h"
#include "data/datetext.h"
#include "tree/tasktree.h"

namespace {

constexpr unsigned kEscapeKey = 0x1B;  // VK_ESCAPE
constexpr unsigned kFKey = 'F';
constexpr unsigned kF3Key = 0x72;      // VK_F3

}  // namespace

int DueDayOf(const TaskRecord& record, int& year, int& month, int& day) {
  if (!record.duedateset) return 0;
  // A date text with parts missing leaves them at zero, and a zero (or a
  // day past 31) would name a bit outside the month's mask.
  DateTime due{};
  ParseDate(due, record.duedate);
  if (due.year < 1 || due.month < 1 || due.month > 12 || due.day < 1 || due.day > 31) return 0;
  year = due.year;
  month = due.month;
  day = due.day;
  return 1;
}

int ComputeDayStates(const TaskRegister& tasks, int firstYear, int firstMonth, int count, uint32_t* masks) {
  if (!masks || count <= 0 || firstMonth < 1 || firstMonth > 12) return 0;
  for (int i = 0; i < count; ++i) masks[i] = 0;
  // Months counted from year 0 make the step past December plain arithmetic.
  const long first = static_cast<long>(firstYear) * 12 + (firstMonth - 1);
  for (RegisterEntry* entry = FirstEntry(tasks); entry; entry = NextEntry(entry)) {
    const TaskRecord* record = EntryRecord(entry);
    int year = 0, month = 0, day = 0;
    if (!record || !DueDayOf(*record, year, month, day)) continue;
    long index = static_cast<long>(year) * 12 + (month - 1) - first;
    if (index < 0 || index >= count) continue;
    masks[index] |= uint32_t{1} << (day - 1);
  }
  return 1;
}

int BuildDayTip(const TaskRegister& tasks, TaskForest* lists, int year, int month, int day, char* text,
                size_t size) {
  if (!text || size == 0) return 0;
  text[0] = '\0';
  int found = 0;
  for (RegisterEntry* entry = FirstEntry(tasks); entry; entry = NextEntry(entry)) {
    const TaskRecord* record = EntryRecord(entry);
    int dueYear = 0, dueMonth = 0, dueDay = 0;
    if (!record || !DueDayOf(*record, dueYear, dueMonth, dueDay)) continue;
    if (dueYear != year || dueMonth != month || dueDay != day) continue;
    char name[kNameSize];
    if (!lists || !record->treeitem || !GetTaskName(*lists, record->treeitem, name, sizeof name)) {
      ShowWarning("Error: Item not found in Lists!");
      continue;
    }
    if (found) AppendBounded(text, kDayTipSeparator, size);
    AppendBounded(text, name, size);
    ++found;
  }
  return found;
}

bool IsDateHit(unsigned hit) {
  return hit == kCalendarHitDate || hit == (kCalendarHitDate | kCalendarHitNext) ||
         hit == (kCalendarHitDate | kCalendarHitPrev);
}

bool TakeHoveredDay(DayHover& hover, unsigned hit, int day) {
  if (!IsDateHit(hit) || day == hover.lastDay) return false;
  hover.lastDay = day;
  return true;
}

CalendarKey CalendarKeyAction(unsigned virtualKey, bool controlDown) {
  if (virtualKey == kEscapeKey) return CalendarKey::kCloseWindow;
  if (virtualKey == kFKey && controlDown) return CalendarKey::kListsTab;
  if ((virtualKey == 'E' && controlDown) || virtualKey == kF3Key) return CalendarKey::kFind;
  return CalendarKey::kStandard;
}
