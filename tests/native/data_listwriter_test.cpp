#include <gtest/gtest.h>

#include "data/listwriter.h"
#include "data_helpers.h"
#include "fixture.h"

namespace {

using ListFileWriter = AppFixture;

TEST_F(ListFileWriter, EmptyTree) {
  EXPECT_EQ(FormatListFile(lists),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n\r\n<list version=\"1.0\">\r\n</list>\r\n");
  EXPECT_EQ(FormatListFile(done), ListText({}));
}

TEST_F(ListFileWriter, OneTaskAndItsChild) {
  Node milk = InsertTask(lists, kRootNode, kLastNode, "Buy milk");
  ASSERT_NE(milk, nullptr);
  EXPECT_EQ(FormatListFile(lists),
            ListText({"<item>", "\t<name>Buy milk</name>", "\t<link>0</link>", "\t<state>0</state>",
                      "\t<enterdate>3-7-2008 9:05</enterdate>", "</item>"}));

  clock.Set({2008, 3, 5, 7, 9, 6, 0, 0});
  ASSERT_NE(InsertTask(lists, milk, kLastNode, "Semi-skimmed"), nullptr);
  EXPECT_EQ(FormatListFile(lists),
            ListText({"<item>", "\t<name>Buy milk</name>", "\t<link>0</link>", "\t<state>0</state>",
                      "\t<enterdate>3-7-2008 9:05</enterdate>", "\t<item>", "\t\t<name>Semi-skimmed</name>",
                      "\t\t<link>0</link>", "\t\t<state>0</state>",
                      "\t\t<enterdate>3-7-2008 9:06</enterdate>", "\t</item>", "</item>"}));
}

// A node stays expanded when its last child goes; the file says what a
// reading can give back, so that a start without edits writes the same.
TEST_F(ListFileWriter, AnExpandedNodeWithoutChildrenIsWrittenCollapsed) {
  Node home = InsertTask(lists, kRootNode, kLastNode, "Home");
  Node rent = InsertTask(lists, home, kLastNode, "Pay rent");
  lists.Expand(home, ExpandAction::kExpand);
  ASSERT_NE(FormatListFile(lists).find("<state>2</state>"), std::string::npos);
  FreeTaskRecord(RecordOf(lists, rent));
  lists.Delete(rent);
  ASSERT_NE(lists.GetState(home, kStateExpanded), 0u);
  const std::string written = FormatListFile(lists);
  EXPECT_NE(written.find("<state>0</state>"), std::string::npos);
  FreeForestRecords(lists);
  ASSERT_EQ(ReadText(lists, written), 1);
  EXPECT_EQ(FormatListFile(lists), written);
}

TEST_F(ListFileWriter, EveryFieldAndStateBit) {
  Node home = InsertTask(lists, kRootNode, kLastNode, "Home");
  Node rent = InsertTask(lists, home, kLastNode, "Pay rent");
  ASSERT_TRUE(home && rent);
  ToggleBold(lists, home);
  lists.Expand(home, ExpandAction::kExpand);
  ToggleChecked(lists, home);
  TaskRecord* record = RecordOf(lists, rent);
  CopyField(record->activedate, "1-3-2008 10:15");
  CopyField(record->completedate, "1-4-2008 23:59");
  CopyField(record->duedate, "2-1-2008");
  CopyField(record->autodate, "1-31-2008");
  CopyField(record->autotime, "7:30");
  record->enterdate[0] = '\0';
  record->duedateset = 1;
  record->autoactivate = 1;
  record->autotimeset = 1;
  record->notify = 1;
  record->email = 1;
  EXPECT_EQ(
      FormatListFile(lists),
      ListText({"<item>", "\t<name>Home</name>", "\t<link>0</link>", "\t<state>7</state>",
                "\t<enterdate>3-7-2008 9:05</enterdate>", "\t<item>", "\t\t<name>Pay rent</name>",
                "\t\t<link>0</link>", "\t\t<state>248</state>", "\t\t<activedate>1-3-2008 10:15</activedate>",
                "\t\t<completedate>1-4-2008 23:59</completedate>", "\t\t<duedate>2-1-2008</duedate>",
                "\t\t<autodate>1-31-2008</autodate>", "\t\t<autotime>7:30</autotime>", "\t</item>",
                "</item>"}));
}

TEST_F(ListFileWriter, DoneHasNoLinksAndNoCheckImageCountsAsChecked) {
  ASSERT_NE(InsertTask(done, kRootNode, kLastNode, "Completed"), nullptr);
  // Active and Done nodes carry no check image (index 0): anything but
  // "unchecked" is written as the check bit.
  EXPECT_EQ(FormatListFile(done), ListText({"<item>", "\t<name>Completed</name>", "\t<state>4</state>",
                                            "\t<enterdate>3-7-2008 9:05</enterdate>", "</item>"}));
  SetUnchecked(done, FirstChild(done, kRootNode));
  EXPECT_NE(FormatListFile(done).find("<state>0</state>"), std::string::npos);
}

// Active keys are positions in Active's tree order; a Lists item writes its
// partner's position.
TEST_F(ListFileWriter, LinkKeysArePositionsInActive) {
  Node folder = InsertTask(lists, kRootNode, kLastNode, "Folder");
  Node task = InsertTask(lists, folder, kLastNode, "Task");
  Node today = InsertTask(active, kRootNode, kLastNode, "Today");
  Node other = InsertTask(active, today, kLastNode, "Other");
  Node copy = InsertTask(active, today, kLastNode, "Task");
  ASSERT_TRUE(folder && task && today && other && copy);
  RecordOf(lists, task)->link = copy;
  RecordOf(active, copy)->link = task;

  const std::string list = FormatListFile(lists);
  EXPECT_NE(list.find("\t<name>Folder</name>\r\n\t<link>0</link>"), std::string::npos);
  EXPECT_NE(list.find("\t\t<name>Task</name>\r\n\t\t<link>3</link>"), std::string::npos);
  const std::string act = FormatListFile(active);
  EXPECT_NE(act.find("\t<name>Today</name>\r\n\t<link>1</link>"), std::string::npos);
  EXPECT_NE(act.find("\t\t<name>Other</name>\r\n\t\t<link>2</link>"), std::string::npos);
  EXPECT_NE(act.find("\t\t<name>Task</name>\r\n\t\t<link>3</link>"), std::string::npos);

  // A move in Active changes the key; both files of the next save agree.
  FreeTaskRecord(RecordOf(active, other));
  active.Delete(other);
  EXPECT_NE(FormatListFile(lists).find("<name>Task</name>\r\n\t\t<link>2</link>"), std::string::npos);
  EXPECT_NE(FormatListFile(active).find("<name>Task</name>\r\n\t\t<link>2</link>"), std::string::npos);
}

TEST_F(ListFileWriter, ItemsWithoutRecordAreLeftOutWithTheirChildren) {
  Node first = InsertTask(active, kRootNode, kLastNode, "First");
  ForestItem bare{};
  bare.mask = kItemText;
  char name[] = "Bare";
  bare.text = name;
  Node orphan = active.Insert(kRootNode, kLastNode, bare);
  ASSERT_TRUE(first && orphan);
  ASSERT_NE(InsertTask(active, orphan, kLastNode, "Under bare"), nullptr);
  Node last = InsertTask(active, kRootNode, kLastNode, "Last");
  ASSERT_NE(last, nullptr);

  const std::string text = FormatListFile(active);
  EXPECT_EQ(text.find("Bare"), std::string::npos);
  EXPECT_NE(text.find("<name>First</name>\r\n\t<link>1</link>"), std::string::npos);
  // The left-out nodes still hold positions 2 and 3.
  EXPECT_NE(text.find("<name>Last</name>\r\n\t<link>4</link>"), std::string::npos);
}

}  // namespace
