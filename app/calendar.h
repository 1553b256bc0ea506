// The Calendar tab without its window: which days are bold, what the day
// tooltip says, and how the calendar reads the pointer and the keys. The
// Win32 calendar (app/win32/calendar_win32) hands the control's questions
// to these.
#pragma once

#include <cstddef>
#include <cstdint>

#include "base/platform.h"

class TaskForest;
struct TaskRecord;
struct TaskRegister;

// Room for the tooltip text, the terminating zero included.
constexpr size_t kDayTipSize = 2048;
// Put between two names of the tooltip: each name on its own line.
constexpr char kDayTipSeparator[] = "\r\n";

// The due day of a record: answers 1 and fills year, month (1-12) and day
// (1-31) when the record's due date is in force and its text is a whole
// date; 0 otherwise (such a record marks and lists no day).
int DueDayOf(const TaskRecord& record, int& year, int& month, int& day);

// Bold days for `count` months from `firstMonth` of `firstYear` on, the
// months running on into the next year after December: masks[i] gets bit
// d - 1 for each day d of month i on which a registered task is due. All
// `count` masks are written. Answers 0, writing nothing, for no masks or a
// first month outside 1-12.
int ComputeDayStates(const TaskRegister& tasks, int firstYear, int firstMonth, int count, uint32_t* masks);

// The tooltip text for a day: the names of the registered tasks due that
// day, in the register's order, one per line; each name is the label of the
// record's node in `lists`, at most 259 characters. A name that cannot be
// read is reported ("Error: Item not found in Lists!") and left out. The
// text never outgrows `size` (kDayTipSize in the program): what does not
// fit is cut off. Answers the number of names found (0: no tooltip).
int BuildDayTip(const TaskRegister& tasks, TaskForest* lists, int year, int month, int day, char* text,
                size_t size);

// Hit-test answers of the calendar (the MCHT_ values): a date of a shown
// month, and the same for the greyed days of the months before and after.
enum : unsigned {
  kCalendarHitDate = 0x00020001,
  kCalendarHitNext = 0x01000000,
  kCalendarHitPrev = 0x02000000,
};
bool IsDateHit(unsigned hit);

// The day number the tooltip text was last built for; 0 before the first.
struct DayHover {
  int lastDay;
};
// The pointer is over `hit` with the date's day number `day`: answers true
// when the tooltip must be rebuilt (a date whose day number is not the last
// one), and that day becomes the last. Only the day number is compared, so
// the 5th of the next month keeps the text of this month's 5th.
bool TakeHoveredDay(DayHover& hover, unsigned hit, int day);

// What a key pressed in the calendar does.
enum class CalendarKey {
  kStandard,     // the calendar's own handling
  kCloseWindow,  // Escape: close (hide) the main window
  kListsTab,     // Ctrl+F: back to the Lists tab
  kFind,         // Ctrl+E or F3: the Find Task box, as in the trees
};
// virtualKey is the key's Win32 virtual-key code.
CalendarKey CalendarKeyAction(unsigned virtualKey, bool controlDown);
