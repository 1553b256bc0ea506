// Clipboard text of a subtree or a whole tree.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "base/clipboard.h"
#include "fakes/memoryclipboard.h"
#include "fixture.h"
#include "tree/commands.h"
#include "tree/tasktree.h"

namespace {

struct TreeText : AppFixture {
  MemoryClipboard clipboard;
  void SetUp() override {
    AppFixture::SetUp();
    App().clipboard = &clipboard;
  }
  Node Add(TaskForest& tree, Node parent, const char* name) {
    return InsertTask(tree, parent ? parent : kRootNode, kLastNode, name);
  }
  std::string Text(TaskForest& tree, Node start) {
    std::vector<char> buffer(TreeTextLength(tree, start, 0) + 1, 'x');
    size_t written = WriteTreeText(tree, start, 0, buffer.data());
    EXPECT_EQ(buffer[written], '\0');
    return std::string(buffer.data(), written);
  }
  std::string Clipboard() {
    std::string text;
    EXPECT_TRUE(clipboard.GetText(&text));
    return text;
  }
};

TEST_F(TreeText, LinesInPreOrderIndentedByDepthBelowTheStart) {
  Node tasks = Add(lists, nullptr, "Tasks");
  Node get = Add(lists, tasks, "Get Organized!");
  Node deep = Add(lists, get, "Deep");
  Add(lists, deep, "Deeper");
  Add(lists, get, "Sibling");
  Add(lists, tasks, "Last");
  Add(lists, nullptr, "Second");

  EXPECT_EQ(Text(lists, nullptr),
            "Tasks\r\n\tGet Organized!\r\n\t\tDeep\r\n\t\t\tDeeper\r\n\t\tSibling\r\n\tLast\r\nSecond\r\n");
  // A nested start stands at depth 0; the walk stops at the end of its subtree.
  EXPECT_EQ(Text(lists, get), "Get Organized!\r\n\tDeep\r\n\t\tDeeper\r\n\tSibling\r\n");
  EXPECT_EQ(Text(lists, deep), "Deep\r\n\tDeeper\r\n");
  EXPECT_EQ(TreeTextLength(lists, nullptr, 0), Text(lists, nullptr).size());
  EXPECT_EQ(TreeTextLength(lists, get, 0), Text(lists, get).size());
  // A deeper start only indents further.
  EXPECT_EQ(TreeTextLength(lists, deep, 2), Text(lists, deep).size() + 4);
}

TEST_F(TreeText, CopyTextPutsTheSubtreeOnTheClipboard) {
  Node folder = Add(active, nullptr, "Today");
  Node task = Add(active, folder, "Task");
  EXPECT_EQ(CopyText(active, task), 1);
  EXPECT_EQ(Clipboard(), "Task\r\n");
  EXPECT_EQ(clipboard.owner(), active.Window());
  EXPECT_EQ(CopyAllText(active), 1);
  EXPECT_EQ(Clipboard(), "Today\r\n\tTask\r\n");
  EXPECT_EQ(CopyText(active, nullptr), 0);
  EXPECT_EQ(Clipboard(), "Today\r\n\tTask\r\n");
}

TEST_F(TreeText, EmptyTreeGivesAnEmptyText) {
  EXPECT_EQ(TreeTextLength(done, nullptr, 0), 0u);
  EXPECT_EQ(CopyAllText(done), 1);
  EXPECT_EQ(Clipboard(), "");
}

TEST_F(TreeText, ALockedClipboardTakesNothing) {
  Add(lists, nullptr, "A");
  clipboard.locked = true;
  EXPECT_EQ(CopyAllText(lists), 0);
  clipboard.locked = false;
  std::string text;
  EXPECT_FALSE(clipboard.GetText(&text));
}

TEST_F(TreeText, NamesOfTheFullLengthAreCutTo259) {
  // Straight into the forest: the task functions never store 260 characters.
  std::string name(260, 'n');
  ForestItem item{};
  item.mask = kItemText;
  item.text = &name[0];
  Node node = lists.Insert(kRootNode, kLastNode, item);
  ASSERT_TRUE(node);
  Add(lists, node, "Child");
  const std::string text = Text(lists, nullptr);
  EXPECT_EQ(text, std::string(259, 'n') + "\r\n\tChild\r\n");
  EXPECT_GE(TreeTextLength(lists, nullptr, 0), text.size());
}

TEST_F(TreeText, ASmallBufferTakesWholeLinesAndStaysTerminated) {
  Node a = Add(lists, nullptr, "Alpha");
  Add(lists, a, "Beta");
  char buffer[12];
  std::memset(buffer, 'x', sizeof buffer);
  EXPECT_EQ(WriteTreeText(lists, nullptr, 0, buffer, sizeof buffer), 7u);
  EXPECT_STREQ(buffer, "Alpha\r\n");
  EXPECT_EQ(WriteTreeText(lists, nullptr, 0, buffer, 3), 0u);
  EXPECT_STREQ(buffer, "");
  EXPECT_EQ(WriteTreeText(lists, nullptr, 0, nullptr), 0u);
}

}  // namespace
