// The calendar's bold days, its day tooltip and its reading of pointer and
// keys, over the in-memory trees.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/calendar.h"
#include "base/taskrecord.h"
#include "fixture.h"
#include "tree/tasktree.h"

namespace {

struct CalendarTest : AppFixture {
  // A task at the end of `tree` with the given due date text, in force or not.
  TaskRecord* AddTask(TaskForest& tree, const char* name, const char* due, bool inForce = true) {
    Node node = InsertTask(tree, kRootNode, kLastNode, name);
    EXPECT_NE(node, nullptr);
    TaskRecord* record = RecordOf(tree, node);
    EXPECT_NE(record, nullptr);
    if (!record) return nullptr;
    CopyField(record->duedate, due);
    record->duedateset = inForce ? 1 : 0;
    return record;
  }
  std::string Tip(int year, int month, int day) {
    char text[kDayTipSize];
    BuildDayTip(App().tasks, &lists, year, month, day, text, sizeof text);
    return text;
  }
};

TEST_F(CalendarTest, DayStatesRunOnIntoTheNextYear) {
  AddTask(lists, "before", "10-31-2008");
  AddTask(lists, "first", "11-1-2008");
  AddTask(lists, "last of November", "11-30-2008");
  AddTask(lists, "new year's eve", "12-31-2008 23:59");  // a stamp counts by its date
  AddTask(lists, "twice a", "12-14-2008");
  AddTask(lists, "twice b", "12-14-2008");
  AddTask(lists, "january", "1-3-2009");
  AddTask(lists, "after", "2-1-2009");
  AddTask(lists, "a year on", "11-2-2009");

  uint32_t masks[4] = {0xDEAD, 0xDEAD, 0xDEAD, 0xDEAD};
  ASSERT_EQ(ComputeDayStates(App().tasks, 2008, 11, 3, masks), 1);
  EXPECT_EQ(masks[0], (1u << 0) | (1u << 29));
  EXPECT_EQ(masks[1], (1u << 30) | (1u << 13));
  EXPECT_EQ(masks[2], 1u << 2);
  EXPECT_EQ(masks[3], 0xDEADu) << "only the months asked for are written";

  // Fourteen months from December: the last one is January two years on.
  AddTask(lists, "far", "1-31-2010");
  uint32_t year[14];
  ASSERT_EQ(ComputeDayStates(App().tasks, 2008, 12, 14, year), 1);
  EXPECT_EQ(year[0], (1u << 30) | (1u << 13));
  EXPECT_EQ(year[1], 1u << 2);
  EXPECT_EQ(year[2], 1u << 0);
  EXPECT_EQ(year[11], 1u << 1);
  EXPECT_EQ(year[13], 1u << 30);
  for (int i : {3, 4, 5, 6, 7, 8, 9, 10, 12}) EXPECT_EQ(year[i], 0u) << i;
}

TEST_F(CalendarTest, OnlyRegisteredDueDatesInForceAreBold) {
  AddTask(lists, "not in force", "6-10-2008", false);
  AddTask(lists, "no day", "6-");
  AddTask(lists, "day zero", "6-0-2008");
  AddTask(lists, "day past the month", "6-32-2008");
  AddTask(lists, "month thirteen", "13-5-2008");
  AddTask(lists, "empty", "");
  // Active and Done records are never in the register.
  AddTask(active, "active", "6-11-2008");
  AddTask(done, "done", "6-12-2008");
  AddTask(lists, "counted", "6-20-2008");

  uint32_t mask = 0xFFFFFFFF;
  ASSERT_EQ(ComputeDayStates(App().tasks, 2008, 6, 1, &mask), 1);
  EXPECT_EQ(mask, 1u << 19);
  EXPECT_EQ(Tip(2008, 6, 10), "");
  EXPECT_EQ(Tip(2008, 6, 11), "");
  EXPECT_EQ(Tip(2008, 6, 20), "counted");

  // A task that leaves the register (completed, deleted) leaves the calendar.
  TaskRecord* counted = nullptr;
  for (Node at = FirstChild(lists, kRootNode); at; at = NextSibling(lists, at))
    if (TaskName(lists, at) == "counted") counted = RecordOf(lists, at);
  ASSERT_NE(counted, nullptr);
  UnregisterTask(App().tasks, counted);
  ASSERT_EQ(ComputeDayStates(App().tasks, 2008, 6, 1, &mask), 1);
  EXPECT_EQ(mask, 0u);
}

TEST_F(CalendarTest, DayStatesRefuseWhatTheyCannotAnswer) {
  AddTask(lists, "task", "6-20-2008");
  uint32_t masks[2] = {7, 7};
  EXPECT_EQ(ComputeDayStates(App().tasks, 2008, 6, 0, masks), 0);
  EXPECT_EQ(ComputeDayStates(App().tasks, 2008, 6, -1, masks), 0);
  EXPECT_EQ(ComputeDayStates(App().tasks, 2008, 0, 2, masks), 0);
  EXPECT_EQ(ComputeDayStates(App().tasks, 2008, 13, 2, masks), 0);
  EXPECT_EQ(ComputeDayStates(App().tasks, 2008, 6, 2, nullptr), 0);
  EXPECT_EQ(masks[0], 7u);
  EXPECT_EQ(masks[1], 7u);
}

TEST_F(CalendarTest, TipNamesTheDaysTasksInRegisterOrder) {
  EXPECT_EQ(Tip(2008, 3, 14), "");
  AddTask(lists, "Buy milk", "3-14-2008");
  EXPECT_EQ(Tip(2008, 3, 14), "Buy milk");
  AddTask(lists, "Pay rent", "3-14-2008 9:00");
  AddTask(lists, "Other day", "3-15-2008");
  AddTask(lists, "Other month", "4-14-2008");
  AddTask(lists, "Other year", "3-14-2009");
  AddTask(lists, "Not in force", "3-14-2008", false);
  // The register holds the newest first.
  char text[kDayTipSize];
  EXPECT_EQ(BuildDayTip(App().tasks, &lists, 2008, 3, 14, text, sizeof text), 2);
  EXPECT_STREQ(text, "Pay rent\r\nBuy milk");
  EXPECT_EQ(BuildDayTip(App().tasks, &lists, 2008, 3, 16, text, sizeof text), 0);
  EXPECT_STREQ(text, "");
  EXPECT_TRUE(prompts.shown().empty());
}

TEST_F(CalendarTest, TipIsCutAtItsRoom) {
  std::string expected;
  for (char c = 'a'; c < 'a' + 9; ++c) {
    std::string name(kMaxNameLength, c);
    AddTask(lists, name.c_str(), "7-1-2008");
    // Newest first: each name goes in front.
    expected = expected.empty() ? name : name + "\r\n" + expected;
  }
  ASSERT_GT(expected.size(), kDayTipSize - 1);
  char text[kDayTipSize];
  EXPECT_EQ(BuildDayTip(App().tasks, &lists, 2008, 7, 1, text, sizeof text), 9);
  EXPECT_EQ(std::string(text), expected.substr(0, kDayTipSize - 1));

  // The separator is cut like a name; nothing follows a full text.
  char small[5];
  std::memset(small, 'x', sizeof small);
  EXPECT_EQ(BuildDayTip(App().tasks, &lists, 2008, 7, 1, small, sizeof small), 9);
  EXPECT_EQ(std::string(small), std::string(4, 'i'));
  char tiny[1] = {'x'};
  EXPECT_EQ(BuildDayTip(App().tasks, &lists, 2008, 7, 1, tiny, sizeof tiny), 9);
  EXPECT_EQ(tiny[0], '\0');
  EXPECT_EQ(BuildDayTip(App().tasks, &lists, 2008, 7, 1, nullptr, 10), 0);
}

TEST_F(CalendarTest, TipTakesAtMost259CharactersOfALabel) {
  TaskRecord* record = AddTask(lists, "short", "8-8-2008");
  ASSERT_NE(record, nullptr);
  // A label longer than any name the program writes, set past its cleaning.
  std::string label(400, 'q');
  ForestItem item{};
  item.mask = kItemText;
  item.node = record->treeitem;
  item.text = &label[0];
  ASSERT_EQ(lists.SetItem(item), 1);
  EXPECT_EQ(Tip(2008, 8, 8), std::string(kMaxNameLength, 'q'));
}

TEST_F(CalendarTest, UnreadableNameIsReportedAndLeftOut) {
  AddTask(lists, "kept", "9-9-2008");
  TaskRecord* lost = AddTask(lists, "lost", "9-9-2008");
  ASSERT_NE(lost, nullptr);
  lost->treeitem = nullptr;
  char text[kDayTipSize];
  EXPECT_EQ(BuildDayTip(App().tasks, &lists, 2008, 9, 9, text, sizeof text), 1);
  EXPECT_STREQ(text, "kept") << "no separator in front of the first name found";
  ASSERT_EQ(prompts.Texts(), std::vector<std::string>{"Error: Item not found in Lists!"});

  // Without the Lists tree no name can be read at all.
  prompts.Clear();
  EXPECT_EQ(BuildDayTip(App().tasks, nullptr, 2008, 9, 9, text, sizeof text), 0);
  EXPECT_STREQ(text, "");
  EXPECT_EQ(prompts.shown().size(), 2u);
}

TEST(CalendarHover, OnlyANewDayNumberOverADateRebuildsTheTip) {
  DayHover hover{};
  EXPECT_FALSE(TakeHoveredDay(hover, 0x00020000, 0)) << "the calendar's background";
  EXPECT_FALSE(TakeHoveredDay(hover, 0x00010000, 5)) << "the title";
  EXPECT_EQ(hover.lastDay, 0);
  EXPECT_TRUE(TakeHoveredDay(hover, kCalendarHitDate, 5));
  EXPECT_FALSE(TakeHoveredDay(hover, kCalendarHitDate, 5));
  EXPECT_FALSE(TakeHoveredDay(hover, kCalendarHitDate | kCalendarHitNext, 5)) << "same number, next month";
  EXPECT_TRUE(TakeHoveredDay(hover, kCalendarHitDate | kCalendarHitPrev, 30));
  EXPECT_EQ(hover.lastDay, 30);
  EXPECT_FALSE(TakeHoveredDay(hover, kCalendarHitNext, 6)) << "not a date";
  EXPECT_FALSE(TakeHoveredDay(hover, kCalendarHitDate + 1, 6)) << "a date outside the allowed range";
  EXPECT_TRUE(TakeHoveredDay(hover, kCalendarHitDate | kCalendarHitNext, 6));
}

TEST(CalendarKeys, EscapeClosesAndCtrlFGoesToLists) {
  EXPECT_EQ(CalendarKeyAction(0x1B, false), CalendarKey::kCloseWindow);
  EXPECT_EQ(CalendarKeyAction(0x1B, true), CalendarKey::kCloseWindow);
  EXPECT_EQ(CalendarKeyAction('F', true), CalendarKey::kListsTab);
  EXPECT_EQ(CalendarKeyAction('F', false), CalendarKey::kStandard);
  EXPECT_EQ(CalendarKeyAction('G', true), CalendarKey::kStandard);
  EXPECT_EQ(CalendarKeyAction('E', true), CalendarKey::kFind);
  EXPECT_EQ(CalendarKeyAction(0x72, false), CalendarKey::kFind);  // F3
  EXPECT_EQ(CalendarKeyAction('E', false), CalendarKey::kStandard);
  EXPECT_EQ(CalendarKeyAction(0x25, false), CalendarKey::kStandard);  // left arrow
}

}  // namespace
