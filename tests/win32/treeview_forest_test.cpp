// What the window forest adds to the shared forest behaviour: its binding
// to the tree window, the parent's notifications, and bounded buffers.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/win32/tree_window.h"
#include "tree/win32/tasktree_win32.h"

namespace {

Node Add(TaskForest& forest, Node parent, const char* name) {
  ForestItem item{};
  item.mask = kItemText;
  item.text = const_cast<char*>(name);
  return forest.Insert(parent, kLastNode, item);
}

std::string Label(TaskForest& forest, Node node) {
  char buffer[300] = {};
  ForestItem item{};
  item.mask = kItemText;
  item.node = node;
  item.text = buffer;
  item.textMax = sizeof buffer;
  return forest.GetItem(item) ? buffer : "<unreadable>";
}

// Answers as the program does on a cancelled edit of an empty new node:
// the node goes away.
struct RemovingListener : ForestListener {
  TaskForest* forest = nullptr;
  std::vector<std::string> ends;
  bool OnBeginLabelEdit(Node) override { return false; }
  bool OnEndLabelEdit(Node node, const char* text) override {
    ends.push_back(text ? text : "<none>");
    if (!text) forest->Delete(node);
    return text != nullptr;
  }
};

// Nodes pass to the control by a plain cast, so the special ones must be
// the control's own values.
TEST(TreeViewForest, SpecialNodesAreTheControlsOwn) {
  EXPECT_EQ(TVI_ROOT, reinterpret_cast<HTREEITEM>(kRootNode));
  EXPECT_EQ(TVI_FIRST, reinterpret_cast<HTREEITEM>(kFirstNode));
  EXPECT_EQ(TVI_LAST, reinterpret_cast<HTREEITEM>(kLastNode));
}

TEST(TreeViewForest, BindsToItsWindowOnlyWhileItLives) {
  HWND tree = CreateTaskTree(GetModuleHandleA(nullptr), TestMainWindow(), false);
  ASSERT_TRUE(tree);
  {
    TreeViewForest forest(tree);
    EXPECT_EQ(&forest, TreeViewForest::FromWindow(tree));
    EXPECT_EQ(tree, forest.Window());
    EXPECT_FALSE(forest.HasCheckBoxes());
  }
  EXPECT_EQ(nullptr, TreeViewForest::FromWindow(tree));
  EXPECT_TRUE(IsWindow(tree)) << "a forest that does not own the window leaves it";

  // Notifications of a tree without a forest, or of a forest without a
  // listener, get the control's defaults.
  NMTVDISPINFOA info = {};
  info.hdr.hwndFrom = tree;
  info.hdr.code = TVN_BEGINLABELEDITA;
  EXPECT_EQ(0, ForwardTreeNotify(&info.hdr));
  EXPECT_EQ(0, ForwardTreeNotify(nullptr));
  DestroyTaskTree(tree);

  auto owned = MakeTreeForest(true);
  HWND ownedTree = static_cast<HWND>(owned->Window());
  EXPECT_TRUE(owned->HasCheckBoxes());
  owned.reset();
  EXPECT_FALSE(IsWindow(ownedTree));
}

TEST(TreeViewForest, EditEndedByFocusLossIsReportedOnce) {
  auto forest = MakeTreeForest(true);
  RemovingListener listener;
  listener.forest = forest.get();
  forest->SetListener(&listener);
  Node node = Add(*forest, kRootNode, "before");
  HWND edit = static_cast<HWND>(forest->EditLabel(node));
  ASSERT_TRUE(edit);
  ASSERT_TRUE(forest->SetEditText("after"));
  // The user clicks elsewhere: the edit loses the focus and ends itself.
  SetFocus(static_cast<HWND>(forest->Window()));
  SetFocus(TestMainWindow());
  PumpMessages();
  EXPECT_EQ(nullptr, forest->GetEditControl());
  ASSERT_EQ(1u, listener.ends.size());
  EXPECT_EQ("after", listener.ends[0]);
  EXPECT_EQ("after", Label(*forest, node));
  forest->SetListener(nullptr);
}

TEST(TreeViewForest, ListenerMayDeleteTheNodeOfACancelledEdit) {
  auto forest = MakeTreeForest(true);
  RemovingListener listener;
  listener.forest = forest.get();
  forest->SetListener(&listener);
  Node keep = Add(*forest, kRootNode, "keep");
  Node fresh = Add(*forest, kRootNode, "");
  ASSERT_TRUE(forest->EditLabel(fresh));
  forest->SetEditText("typed, then Esc");
  EXPECT_EQ(1, forest->EndEditLabelNow(true));
  PumpMessages();
  ASSERT_EQ(1u, listener.ends.size()) << "the cancel is reported once, not again with the typed text";
  EXPECT_EQ("<none>", listener.ends[0]);
  EXPECT_EQ(1u, forest->Count());
  EXPECT_EQ(keep, FirstChild(*forest, kRootNode));
  EXPECT_EQ("keep", Label(*forest, keep));
  EXPECT_EQ(nullptr, forest->GetEditControl());
  forest->SetListener(nullptr);
}

TEST(TreeViewForest, TextBuffersAreNeverOverrun) {
  auto forest = MakeTreeForest(false);
  std::string longName(600, 'n');
  Node node = Add(*forest, kRootNode, longName.c_str());
  ASSERT_TRUE(node);

  char buffer[8];
  std::memset(buffer, 'Z', sizeof buffer);
  ForestItem item{};
  item.mask = kItemText;
  item.node = node;
  item.text = buffer;
  item.textMax = 1;
  ASSERT_EQ(1, forest->GetItem(item));
  EXPECT_EQ('\0', buffer[0]);
  EXPECT_EQ('Z', buffer[1]);
  // No room even for the terminator: the label is not read, the rest is.
  item.mask = kItemText | kItemRecord;
  item.textMax = 0;
  item.record = reinterpret_cast<TaskRecord*>(1);
  buffer[0] = 'Q';
  EXPECT_EQ(1, forest->GetItem(item));
  EXPECT_EQ('Q', buffer[0]);
  EXPECT_EQ(nullptr, item.record);
  item.text = nullptr;
  item.textMax = 8;
  EXPECT_EQ(1, forest->GetItem(item));
  item.mask = kItemText;

  ASSERT_TRUE(forest->EditLabel(node));
  std::memset(buffer, 'Z', sizeof buffer);
  EXPECT_EQ(4, forest->GetEditText(buffer, 5));
  EXPECT_STREQ("nnnn", buffer);
  EXPECT_EQ('Z', buffer[5]);
  EXPECT_EQ(0, forest->GetEditText(buffer, 0));
  EXPECT_EQ(0, forest->GetEditText(nullptr, 5));
  forest->EndEditLabelNow(true);
  EXPECT_EQ(0, forest->GetEditText(buffer, sizeof buffer)) << "no edit under way";
  EXPECT_EQ(0, forest->SetEditText("x"));
}

}  // namespace
