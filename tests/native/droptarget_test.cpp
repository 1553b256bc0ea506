// Where a dragged task lands and what the drop moves: the rules row by row,
// the Active levels, points on the rows of an in-memory forest, and moves
// of linked subtrees.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "fakes/memoryforest.h"
#include "native/data_helpers.h"
#include "native/failing_forest.h"
#include "native/fixture.h"
#include "native/recording_host.h"
#include "tree/commands.h"
#include "tree/droptarget.h"
#include "tree/tasktree.h"

namespace {

// Stand-ins the rules only compare.
Node N(int id) {
  return reinterpret_cast<Node>(static_cast<intptr_t>(id * 16));
}
const Node kDragged = N(1), kHit = N(2), kPrevious = N(3), kParent = N(4), kLast = N(5);

// Facts of a hit on a 16-pixel row at `offset`.
DropFacts Hit(int offset, bool open = false, Node previous = kPrevious, Node parent = kParent,
              Node hit = kHit) {
  DropFacts facts{};
  facts.dragged = {kDragged, true};
  facts.hit = {hit, true};
  facts.offset = offset;
  facts.rowHeight = 16;
  facts.hitOpen = open;
  facts.previous = {previous, true};
  facts.parent = {parent, false};
  return facts;
}
DropFacts Missed(bool belowLastRow) {
  DropFacts facts{};
  facts.dragged = {kDragged, true};
  facts.belowLastRow = belowLastRow;
  facts.lastVisible = {kLast, true};
  return facts;
}

TEST(DropRules, EachRowOfTheTable) {
  const struct {
    const char* row;
    DropFacts facts;
    Node node;
    DropMode mode;
  } rows[] = {
      {"middle half", Hit(8), kHit, DropMode::kInto},
      {"just below the upper quarter", Hit(5), kHit, DropMode::kInto},
      {"just above the lower quarter", Hit(11), kHit, DropMode::kInto},
      {"lower quarter of an expanded node with a child", Hit(12, true), kHit, DropMode::kInto},
      {"lower quarter otherwise", Hit(15), kHit, DropMode::kAfter},
      {"upper quarter, after the previous sibling", Hit(4), kPrevious, DropMode::kAfter},
      {"upper quarter of a first child: into the parent", Hit(0, false, nullptr), kParent, DropMode::kInto},
      {"upper quarter of the first top-level node", Hit(2, false, nullptr, nullptr), kRootNode,
       DropMode::kInto},
      {"below the last row", Missed(true), kLast, DropMode::kAfter},
      {"anywhere else outside the rows", Missed(false), nullptr, DropMode::kNone},
      {"onto the dragged node itself", Hit(8, false, kPrevious, kParent, kDragged), nullptr, DropMode::kNone},
      {"after the dragged node", Hit(1, false, kDragged), nullptr, DropMode::kNone},
  };
  for (const auto& row : rows) {
    const DropTarget target = ChooseDropTarget(row.facts);
    EXPECT_EQ(target.node, row.node) << row.row;
    EXPECT_EQ(target.mode, row.mode) << row.row;
  }
}

TEST(DropRules, ActiveKeepsFoldersAboveAndTasksDirectlyUnderThem) {
  const struct {
    const char* what;
    bool draggedTask;
    DropFacts facts;
    bool targetTask;  // of the node the drop would go into or after
    bool allowed;
  } rows[] = {
      {"a task into a folder", true, Hit(8), false, true},
      {"a task into a task", true, Hit(8), true, false},
      {"a folder into a folder", false, Hit(8), false, false},
      {"a task after a task", true, Hit(15), true, true},
      {"a task after a folder", true, Hit(15), false, false},
      {"a folder after a folder", false, Hit(15), false, true},
      {"a folder after a task", false, Hit(15), true, false},
      {"a folder to the top", false, Hit(0, false, nullptr, nullptr), false, true},
      {"a task to the top", true, Hit(0, false, nullptr, nullptr), false, false},
  };
  for (const auto& row : rows) {
    DropFacts facts = row.facts;
    facts.twoLevels = true;
    facts.dragged.nested = row.draggedTask;
    facts.hit.nested = row.targetTask;
    const DropTarget target = ChooseDropTarget(facts);
    EXPECT_EQ(target.mode != DropMode::kNone, row.allowed) << row.what;
    facts.twoLevels = false;
    EXPECT_NE(ChooseDropTarget(facts).mode, DropMode::kNone) << row.what << " in Lists";
  }
}

TEST(DropRules, ScrollingBandsAreTwentyPixelsAlongTheEdges) {
  const int y[] = {119, 120, 280, 281};
  const DragScroll expected[] = {DragScroll::kUp, DragScroll::kNone, DragScroll::kNone, DragScroll::kDown};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(DragScrollFor(y[i], 100, 300), expected[i]) << y[i];
}

struct Drop : AppFixture {
  RecordingHost host;
  void SetUp() override {
    AppFixture::SetUp();
    SetHost(&host);
  }
  void TearDown() override {
    ClearCut();
    SetHost(nullptr);
    AppFixture::TearDown();
  }
  Node Add(TaskForest& tree, Node parent, const char* name) {
    return InsertTask(tree, parent ? parent : kRootNode, kLastNode, name);
  }
  // A point `within` pixels below the top of the row at `row`.
  Point At(int row, int within) { return Point{30, row * MemoryForest::kRowHeight + within}; }
};

TEST_F(Drop, ANodeNeverGoesIntoOrAfterItsOwnDescendants) {
  Node a = Add(lists, nullptr, "A");
  Node a1 = Add(lists, a, "A1");
  Add(lists, nullptr, "B");
  lists.Expand(a, ExpandAction::kExpand);  // rows: A A1 B
  Node hit = nullptr;
  EXPECT_EQ(FindDropTarget(lists, a, At(1, 8), &hit).mode, DropMode::kNone);
  EXPECT_EQ(hit, a1);
  EXPECT_EQ(FindDropTarget(lists, a, At(1, 14), &hit).mode, DropMode::kNone);
  EXPECT_EQ(FindDropTarget(lists, a, At(2, 8), &hit).mode, DropMode::kInto);
  EXPECT_EQ(DropTask(lists, a, {a1, DropMode::kInto}), 0);
  EXPECT_EQ(Shape(lists), "A(A1),B");
}

TEST_F(Drop, AMovedLinkedSubtreeKeepsItsLinksChecksAndTheRenameReachesTheCopy) {
  Node home = Add(lists, nullptr, "Home");
  Node task = Add(lists, home, "Task");
  Node sub = Add(lists, task, "Sub");
  Node work = Add(lists, nullptr, "Work");
  ASSERT_EQ(ActivateTask(lists, task), 1);
  ASSERT_EQ(ActivateTask(lists, sub), 1);
  const Node taskCopy = RecordOf(lists, task)->link;
  const Node subCopy = RecordOf(lists, sub)->link;
  CutTask(lists, sub);

  ASSERT_EQ(DropTask(lists, task, {work, DropMode::kInto}), 1);
  EXPECT_EQ(Shape(lists), "Home,Work(Task(Sub))");
  EXPECT_TRUE(IsExpanded(lists, work));
  const Node moved = FirstChild(lists, work);
  const Node movedSub = FirstChild(lists, moved);
  EXPECT_EQ(SelectedNode(lists), moved);
  for (auto pair : {std::make_pair(moved, taskCopy), std::make_pair(movedSub, subCopy)}) {
    EXPECT_EQ(RecordOf(lists, pair.first)->treeitem, pair.first);
    EXPECT_EQ(RecordOf(lists, pair.first)->link, pair.second);
    EXPECT_EQ(RecordOf(active, pair.second)->link, pair.first);
    EXPECT_EQ(CheckStateOf(lists, pair.first), kChecked);
  }
  EXPECT_EQ(CurrentCut().node, nullptr) << "the cut went with the move";
  EXPECT_EQ(App().tasks.count, 4u);

  CommandListener listener(lists);
  lists.SetListener(&listener);
  ASSERT_TRUE(RenameTask(lists, moved));
  lists.SetEditText("Renamed");
  lists.EndEditLabelNow(false);
  EXPECT_EQ(TaskName(active, taskCopy), "Renamed");
  lists.SetListener(nullptr);

  // In Active the copy moves to another folder, still linked; a cut
  // elsewhere stays.
  Node later = Add(active, nullptr, "Later");
  CutTask(lists, home);
  ASSERT_EQ(DropTask(active, taskCopy, {later, DropMode::kInto}), 1);
  const Node movedCopy = FirstChild(active, later);
  EXPECT_EQ(RecordOf(lists, moved)->link, movedCopy);
  EXPECT_EQ(CurrentCut().node, home);
  EXPECT_TRUE(prompts.shown().empty());
}

TEST_F(Drop, ANodeThatCannotLeaveItsPlaceTakesItsCopyBackAndSaysSo) {
  FailingForest stuck;
  App().lists = &stuck;
  Node home = Add(stuck, nullptr, "Home");
  Node task = Add(stuck, home, "Task");
  Node work = Add(stuck, nullptr, "Work");
  Node copy = Add(active, Add(active, nullptr, "Today"), "Task");
  RecordOf(stuck, task)->link = copy;
  RecordOf(active, copy)->link = task;
  stuck.refusedDelete = task;

  EXPECT_EQ(DropTask(stuck, task, {work, DropMode::kAfter}), 0);
  EXPECT_EQ(Shape(stuck), "Home(Task),Work");
  EXPECT_EQ(RecordOf(active, copy)->link, task);
  EXPECT_EQ(RecordOf(stuck, task)->treeitem, task);
  EXPECT_EQ(prompts.Texts(), std::vector<std::string>{"DragDrop: DeleteItem failed"});
  // Refused copies say nothing and change nothing.
  EXPECT_EQ(DropTask(stuck, home, {task, DropMode::kInto}), 0);
  EXPECT_EQ(prompts.Texts().size(), 1u);
  FreeForestRecords(stuck);
  App().lists = &lists;
}

}  // namespace
