// Task trees on the in-memory forest: insertion with records, names,
// subtree copies, links and their rebuilding after loading.
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "native/failing_forest.h"
#include "native/fixture.h"
#include "tree/tasktree.h"

namespace {

// "name(child,child)" for a subtree, siblings joined by ",".
std::string Shape(TaskForest& tree, Node first) {
  std::string out;
  for (Node at = first; at; at = NextSibling(tree, at)) {
    if (!out.empty()) out += ",";
    out += TaskName(tree, at);
    if (Node child = FirstChild(tree, at)) out += "(" + Shape(tree, child) + ")";
  }
  return out;
}
std::string ForestShape(TaskForest& tree) {
  return Shape(tree, FirstChild(tree, kRootNode));
}

void SetState(TaskForest& tree, Node node, unsigned state, unsigned mask) {
  ForestItem item{};
  item.mask = kItemState;
  item.node = node;
  item.state = state;
  item.stateMask = mask;
  ASSERT_TRUE(tree.SetItem(item));
}

using TaskTree = AppFixture;

TEST_F(TaskTree, CleanNamesCarryNoAngleBracketsAndAtMost259Characters) {
  EXPECT_EQ(CleanTaskName("a<b>c"),
            "a\xE2\x80\xB9"
            "b\xE2\x80\xBA"
            "c");
  EXPECT_EQ(CleanTaskName(nullptr), "");
  std::string longName(400, 'n');
  EXPECT_EQ(CleanTaskName(longName.c_str()), std::string(259, 'n'));
}

TEST_F(TaskTree, InsertTaskMakesAStampedRecordRegisteredOnlyForLists) {
  Node folder = InsertTask(lists, kRootNode, kLastNode, "Home <work>");
  ASSERT_TRUE(folder);
  TaskRecord* record = RecordOf(lists, folder);
  ASSERT_TRUE(record);
  EXPECT_EQ(record->treeitem, folder);
  EXPECT_STREQ(record->enterdate, "3-7-2008 9:05");
  EXPECT_EQ(TaskName(lists, folder), "Home \xE2\x80\xB9work\xE2\x80\xBA");
  EXPECT_EQ(App().tasks.count, 1u);
  EXPECT_EQ(EntryRecord(FirstEntry(App().tasks)), record);
  EXPECT_EQ(CheckStateOf(lists, folder), kUnchecked);
  EXPECT_EQ(lists.RedrawOffCount(), 1);
  EXPECT_FALSE(lists.RedrawSuspended());

  Node today = InsertTask(active, kRootNode, kLastNode, "Today");
  ASSERT_TRUE(today);
  EXPECT_EQ(App().tasks.count, 1u) << "Active records stay out of the register";
  EXPECT_EQ(RecordOf(active, today)->entry, nullptr);
  EXPECT_EQ(CheckStateOf(active, today), kCheckNone);

  Node unnamed = InsertTask(done, kRootNode, kFirstNode, nullptr);
  ASSERT_TRUE(unnamed);
  EXPECT_EQ(TaskName(done, unnamed), "");
}

TEST_F(TaskTree, FailedInsertLeavesNoRecordBehind) {
  Node parent = InsertTask(lists, kRootNode, kLastNode, "parent");
  ASSERT_TRUE(DeleteTaskSubtree(lists, parent));
  EXPECT_EQ(App().tasks.count, 0u);
  // The parent is gone: the insert fails and takes its record back out.
  EXPECT_EQ(InsertTask(lists, parent, kLastNode, "orphan"), nullptr);
  EXPECT_EQ(App().tasks.count, 0u);
  EXPECT_EQ(FirstEntry(App().tasks), nullptr);
  EXPECT_FALSE(lists.RedrawSuspended());
}

TEST_F(TaskTree, NamesStatesAndChecks) {
  Node node = InsertTask(lists, kRootNode, kLastNode, "abcdef");
  char small[4];
  ASSERT_TRUE(GetTaskName(lists, node, small, sizeof small));
  EXPECT_STREQ(small, "abc");
  EXPECT_EQ(TaskNameLength(lists, node), 6);
  EXPECT_EQ(TaskNameLength(lists, nullptr), 0);
  EXPECT_EQ(GetTaskName(lists, node, small, 0), 0);

  ASSERT_TRUE(SetTaskName(lists, node, std::string(300, '>').c_str()));
  std::string closing;
  for (int i = 0; i < 259; ++i) closing += "\xE2\x80\xBA";
  EXPECT_EQ(TaskName(lists, node), closing);
  EXPECT_EQ(TaskNameLength(lists, node), 3 * 259);

  EXPECT_EQ(lists.GetState(node, kStateBold), 0u);
  ASSERT_TRUE(ToggleBold(lists, node));
  EXPECT_EQ(lists.GetState(node, kStateBold), unsigned{kStateBold});
  ASSERT_TRUE(ToggleBold(lists, node));
  EXPECT_EQ(lists.GetState(node, kStateBold), 0u);

  ASSERT_TRUE(ToggleChecked(lists, node));
  EXPECT_EQ(CheckStateOf(lists, node), kChecked);
  ASSERT_TRUE(ToggleChecked(lists, node));
  EXPECT_EQ(CheckStateOf(lists, node), kUnchecked);
  // Active keeps a check state without showing it: 0 toggles to 1.
  Node plain = InsertTask(active, kRootNode, kLastNode, "plain");
  ASSERT_TRUE(ToggleChecked(active, plain));
  EXPECT_EQ(CheckStateOf(active, plain), kUnchecked);
  SetState(active, plain, StateImage(kChecked), kStateImageMask);
  ASSERT_TRUE(SetUnchecked(active, plain));
  EXPECT_EQ(CheckStateOf(active, plain), kUnchecked);

  Node child = InsertTask(lists, node, kLastNode, "child");
  EXPECT_FALSE(IsExpanded(lists, node));
  lists.Expand(node, ExpandAction::kExpand);
  EXPECT_TRUE(IsExpanded(lists, node));
  EXPECT_FALSE(IsExpanded(lists, child));

  EXPECT_EQ(RecordOf(lists, nullptr), nullptr);
  EXPECT_EQ(ToggleBold(lists, nullptr), 0);
}

// A subtree in Lists with every kind of state to carry:
// A (bold, open, checked) > A1 (closed) > A11, A2 (open) > A21, A3.
struct Sample {
  Node a, a1, a11, a2, a21, a3;
};
Sample BuildSample(TaskForest& tree, Node parent) {
  Sample s{};
  s.a = InsertTask(tree, parent, kLastNode, "A");
  s.a1 = InsertTask(tree, s.a, kLastNode, "A1");
  s.a11 = InsertTask(tree, s.a1, kLastNode, "A11");
  s.a2 = InsertTask(tree, s.a, kLastNode, "A2");
  s.a21 = InsertTask(tree, s.a2, kLastNode, "A21");
  s.a3 = InsertTask(tree, s.a, kLastNode, "A3");
  tree.Expand(s.a, ExpandAction::kExpand);
  tree.Expand(s.a2, ExpandAction::kExpand);
  ToggleBold(tree, s.a);
  SetState(tree, s.a, StateImage(kChecked), kStateImageMask);
  SetState(tree, s.a21, StateImage(kChecked), kStateImageMask);
  return s;
}

TEST_F(TaskTree, CopySubtreeCarriesOrderNamesStatesAndTheSameRecords) {
  Sample s = BuildSample(lists, kRootNode);
  Node today = InsertTask(active, kRootNode, kLastNode, "Today");
  Node copy = CopySubtree(active, lists, s.a, today, kLastNode);
  ASSERT_TRUE(copy);
  EXPECT_EQ(ForestShape(active), "Today(A(A1(A11),A2(A21),A3))");
  EXPECT_EQ(ForestShape(lists), "A(A1(A11),A2(A21),A3)") << "the source is left as it was";
  EXPECT_EQ(active.GetState(copy, kStateBold), unsigned{kStateBold});
  EXPECT_TRUE(IsExpanded(active, copy));
  EXPECT_EQ(CheckStateOf(active, copy), kChecked);
  Node c1 = FirstChild(active, copy);
  Node c2 = NextSibling(active, c1);
  EXPECT_FALSE(IsExpanded(active, c1));
  EXPECT_TRUE(IsExpanded(active, c2));
  EXPECT_EQ(CheckStateOf(active, FirstChild(active, c2)), kChecked);
  EXPECT_EQ(CheckStateOf(active, c1), kUnchecked);
  EXPECT_EQ(active.GetState(c1, kStateBold), 0u);

  EXPECT_EQ(RecordOf(active, copy), RecordOf(lists, s.a)) << "records are shared, not duplicated";
  EXPECT_EQ(RecordOf(active, FirstChild(active, c1)), RecordOf(lists, s.a11));
  EXPECT_EQ(SelectedNode(active), copy);
  EXPECT_EQ(lists.Count(), 6u);
  EXPECT_EQ(active.Count(), 7u);
  // The copy carries the source's records until the source goes without them.
  lists.Delete(s.a);
}

TEST_F(TaskTree, CopiesDoNotTakeTheHighlightOfTheCaretOrDropTarget) {
  Sample s = BuildSample(lists, kRootNode);
  Node completed = InsertTask(done, kRootNode, kLastNode, "Completed");
  lists.Select(s.a21, Relation::kCaret);
  lists.Select(s.a3, Relation::kDropHilite);
  Node copy = CopySubtree(done, lists, s.a, completed, kLastNode);
  ASSERT_TRUE(copy);
  unsigned highlighted = 0;
  ForEachInSubtree(done, copy, [&](Node at) {
    if (at != copy && done.GetState(at, kStateSelected | kStateDropHilited)) ++highlighted;
  });
  EXPECT_EQ(highlighted, 0u);
  EXPECT_EQ(SelectedNode(done), copy);
  EXPECT_EQ(done.GetNext(nullptr, Relation::kDropHilite), nullptr);
  EXPECT_EQ(lists.GetState(s.a21, kStateSelected), unsigned{kStateSelected}) << "the source keeps its own";
  lists.Delete(s.a);
}

TEST_F(TaskTree, CopySubtreeSuspendsPaintingOfTheDestination) {
  Sample s = BuildSample(lists, kRootNode);
  Node today = InsertTask(active, kRootNode, kLastNode, "Today");
  int offBefore = active.RedrawOffCount();
  Node copy = CopySubtree(active, lists, s.a, today, kLastNode);
  ASSERT_TRUE(copy);
  EXPECT_GT(active.RedrawOffCount(), offBefore);
  EXPECT_FALSE(active.RedrawSuspended());
  // The copy carries the source's records until the source goes without them.
  lists.Delete(s.a);
}

TEST_F(TaskTree, CopySubtreeRefusesItsOwnSubtreeButTakesASibling) {
  Sample s = BuildSample(lists, kRootNode);
  Node other = InsertTask(lists, kRootNode, kLastNode, "Other");
  EXPECT_EQ(CopySubtree(lists, lists, s.a, s.a, kLastNode), nullptr);
  EXPECT_EQ(CopySubtree(lists, lists, s.a, s.a21, kLastNode), nullptr);
  EXPECT_EQ(CopySubtree(lists, lists, s.a2, s.a21, kFirstNode), nullptr);
  EXPECT_EQ(lists.Count(), 7u);
  EXPECT_FALSE(lists.RedrawSuspended());

  Node copy = CopySubtree(lists, lists, s.a2, other, kFirstNode);
  ASSERT_TRUE(copy);
  Node sibling = CopySubtree(lists, lists, s.a3, s.a, s.a1);
  ASSERT_TRUE(sibling);
  EXPECT_EQ(ForestShape(lists), "A(A1(A11),A3,A2(A21),A3),Other(A2(A21))");
  // Copying a node beside itself, then removing the original, is a move.
  ASSERT_TRUE(lists.Delete(s.a2));
  EXPECT_EQ(ForestShape(lists), "A(A1(A11),A3,A3),Other(A2(A21))");
  EXPECT_EQ(CopySubtree(lists, lists, nullptr, other, kLastNode), nullptr);
  lists.Delete(sibling);  // shares A3's record
}

TEST_F(TaskTree, CopyThatFailsHalfWayLeavesNothingAndSaysSo) {
  Sample s = BuildSample(lists, kRootNode);
  FailingForest target(3);
  EXPECT_EQ(CopySubtree(target, lists, s.a, kRootNode, kLastNode), nullptr);
  EXPECT_EQ(target.Count(), 0u) << "no partial copy may pass for the whole";
  EXPECT_FALSE(target.inner.RedrawSuspended());
  FailingForest none(0);
  EXPECT_EQ(CopySubtree(none, lists, s.a, kRootNode, kLastNode), nullptr);
  EXPECT_FALSE(none.inner.RedrawSuspended());
}

TEST_F(TaskTree, RelinkPointsPartnersAtTheMovedNodes) {
  Node folder = InsertTask(lists, kRootNode, kLastNode, "Folder");
  Node task = InsertTask(lists, folder, kLastNode, "Task");
  Node sub = InsertTask(lists, task, kLastNode, "Sub");
  Node today = InsertTask(active, kRootNode, kLastNode, "Today");
  Node taskCopy = InsertTask(active, today, kLastNode, "Task");
  Node subCopy = InsertTask(active, today, kLastNode, "Sub");
  RecordOf(lists, task)->link = taskCopy;
  RecordOf(active, taskCopy)->link = task;
  RecordOf(lists, sub)->link = subCopy;
  RecordOf(active, subCopy)->link = sub;

  // Move Task with its child to the top level.
  Node moved = CopyAndRelink(lists, lists, task, kRootNode, kFirstNode);
  ASSERT_TRUE(moved);
  ASSERT_TRUE(lists.Delete(task));
  Node movedSub = FirstChild(lists, moved);
  EXPECT_EQ(RecordOf(lists, moved)->treeitem, moved);
  EXPECT_EQ(RecordOf(lists, movedSub)->treeitem, movedSub);
  EXPECT_EQ(RecordOf(active, taskCopy)->link, moved);
  EXPECT_EQ(RecordOf(active, subCopy)->link, movedSub);

  // And an Active node moved to another folder.
  Node later = InsertTask(active, kRootNode, kLastNode, "Later");
  Node movedCopy = CopyAndRelink(active, active, taskCopy, later, kLastNode);
  ASSERT_TRUE(movedCopy);
  ASSERT_TRUE(active.Delete(taskCopy));
  EXPECT_EQ(RecordOf(lists, moved)->link, movedCopy);
  EXPECT_EQ(RecordOf(active, movedCopy)->treeitem, movedCopy);

  // Into Done nothing is followed: the partner keeps its link.
  Node completed = InsertTask(done, kRootNode, kLastNode, "Completed");
  Node doneCopy = CopyAndRelink(done, active, subCopy, completed, kLastNode);
  ASSERT_TRUE(doneCopy);
  EXPECT_EQ(RecordOf(done, doneCopy)->treeitem, doneCopy);
  EXPECT_EQ(RecordOf(lists, movedSub)->link, subCopy);
  ASSERT_TRUE(active.Delete(subCopy));
}

// Links as the list files leave them: keys, not nodes.
void Key(TaskForest& tree, Node node, int32_t key) {
  TaskRecord* record = RecordOf(tree, node);
  record->linkkey = key;
  record->link = nullptr;
}

TEST_F(TaskTree, ResolveLinksPairsKeysAndDropsTheUnmatched) {
  Node folder = InsertTask(lists, kRootNode, kLastNode, "Folder");
  Node linked = InsertTask(lists, folder, kLastNode, "Linked");
  Node lost = InsertTask(lists, folder, kLastNode, "Lost");
  SetState(lists, linked, StateImage(kChecked), kStateImageMask);
  SetState(lists, lost, StateImage(kChecked), kStateImageMask);
  Node today = InsertTask(active, kRootNode, kLastNode, "Today");
  Node copy = InsertTask(active, today, kLastNode, "Linked");
  Node stray = InsertTask(active, today, kLastNode, "Stray");
  Key(lists, linked, 2);
  Key(lists, lost, 7);
  Key(active, copy, 2);
  Key(active, stray, 3);

  ResolveLinks();
  EXPECT_EQ(RecordOf(lists, linked)->link, copy);
  EXPECT_EQ(RecordOf(active, copy)->link, linked);
  EXPECT_EQ(RecordOf(active, copy)->paired, 1);
  EXPECT_EQ(RecordOf(lists, linked)->linkkey, 0);
  EXPECT_EQ(RecordOf(active, copy)->linkkey, 0);
  EXPECT_EQ(RecordOf(lists, lost)->link, nullptr);
  EXPECT_EQ(RecordOf(lists, lost)->linkkey, 0);
  EXPECT_EQ(CheckStateOf(lists, lost), kChecked) << "check states come from the files";
  EXPECT_EQ(RecordOf(active, stray)->link, nullptr);
  EXPECT_EQ(RecordOf(active, stray)->linkkey, 0);
  EXPECT_EQ(RecordOf(active, stray)->paired, 0);
  EXPECT_EQ(RecordOf(lists, folder)->link, nullptr);
  ASSERT_EQ(prompts.Texts(), std::vector<std::string>{"Error found in links with Active list"});
  EXPECT_EQ(prompts.shown()[0].title, "Velkin 1.0");
}

TEST_F(TaskTree, ResolveLinksGivesADuplicateKeyToTheFirstListsNodeInPostOrder) {
  // Parent and child hold the same key: the child comes first.
  Node parent = InsertTask(lists, kRootNode, kLastNode, "Parent");
  Node child = InsertTask(lists, parent, kLastNode, "Child");
  Node later = InsertTask(lists, kRootNode, kLastNode, "Later");
  Node today = InsertTask(active, kRootNode, kLastNode, "Today");
  Node only = InsertTask(active, today, kLastNode, "Only");
  Key(lists, parent, 5);
  Key(lists, child, 5);
  Key(lists, later, 5);
  Key(active, only, 5);

  ResolveLinks();
  EXPECT_EQ(RecordOf(lists, child)->link, only);
  EXPECT_EQ(RecordOf(active, only)->link, child);
  EXPECT_EQ(RecordOf(lists, parent)->link, nullptr);
  EXPECT_EQ(RecordOf(lists, later)->link, nullptr);
  EXPECT_EQ(prompts.shown().size(), 1u) << "one box for all the links lost";
}

TEST_F(TaskTree, ResolveLinksWithoutTreesOrKeysDoesNothing) {
  ResolveLinks();
  EXPECT_TRUE(prompts.shown().empty());
  App().active = nullptr;
  Node node = InsertTask(lists, kRootNode, kLastNode, "n");
  Key(lists, node, 1);
  ResolveLinks();
  EXPECT_TRUE(prompts.shown().empty());
  App().active = &active;
}

// The plain reading of the rule: for each Lists node in post-order, search
// all of Active in tree order for the first record with the same key.
struct ReferenceResult {
  std::vector<Node> listsLinks, activeLinks;
  std::vector<int> paired;
  int messages = 0;
};

void ReferenceResolve(TaskForest& lists, TaskForest& active, std::vector<int32_t> listsKeys,
                      std::vector<int32_t> activeKeys, ReferenceResult* out) {
  std::vector<Node> listsPre, activePre;
  ForEachNode(lists, [&](Node n) { listsPre.push_back(n); });
  ForEachNode(active, [&](Node n) { activePre.push_back(n); });
  out->listsLinks.assign(listsPre.size(), nullptr);
  out->activeLinks.assign(activePre.size(), nullptr);
  out->paired.assign(activePre.size(), 0);
  std::vector<Node> post;
  std::function<void(Node)> visit = [&](Node n) {
    for (Node c = FirstChild(lists, n); c; c = NextSibling(lists, c)) visit(c);
    post.push_back(n);
  };
  for (Node top = FirstChild(lists, kRootNode); top; top = NextSibling(lists, top)) visit(top);
  auto indexOf = [](const std::vector<Node>& v, Node n) {
    for (size_t i = 0; i < v.size(); ++i)
      if (v[i] == n) return i;
    return v.size();
  };
  for (Node n : post) {
    size_t li = indexOf(listsPre, n);
    int32_t key = listsKeys[li];
    if (!key) continue;
    bool found = false;
    for (size_t ai = 0; ai < activePre.size(); ++ai) {
      if (activeKeys[ai] == key) {
        out->listsLinks[li] = activePre[ai];
        out->activeLinks[ai] = n;
        out->paired[ai] = 1;
        activeKeys[ai] = 0;
        found = true;
        break;
      }
    }
    if (!found) ++out->messages;
  }
}

// A random forest of `count` tasks: each new one under a random earlier
// node or at the top.
std::vector<Node> RandomForest(TaskForest& tree, int count, std::mt19937& random) {
  std::vector<Node> nodes;
  for (int i = 0; i < count; ++i) {
    Node parent = kRootNode;
    if (!nodes.empty() && random() % 3) parent = nodes[random() % nodes.size()];
    nodes.push_back(InsertTask(tree, parent, random() % 4 ? kLastNode : kFirstNode, "t"));
  }
  return nodes;
}

TEST_F(TaskTree, ResolveLinksMatchesThePlainSearchOnRandomForests) {
  std::mt19937 random(2008);
  for (int round = 0; round < 500; ++round) {
    RandomForest(lists, static_cast<int>(random() % 30), random);
    RandomForest(active, static_cast<int>(random() % 30), random);
    // Small ranges give Lists keys held twice (the tree walk); a wide one
    // mostly distinct keys (paired straight from the register).
    int32_t range = random() % 2 ? 1 + static_cast<int32_t>(random() % 12) : 100000;
    std::vector<int32_t> listsKeys, activeKeys;
    ForEachNode(lists, [&](Node n) {
      int32_t key = random() % 3 ? 0 : 1 + static_cast<int32_t>(random() % range);
      Key(lists, n, key);
      listsKeys.push_back(key);
    });
    ForEachNode(active, [&](Node n) {
      int32_t key = random() % 2 ? 0 : 1 + static_cast<int32_t>(random() % range);
      Key(active, n, key);
      activeKeys.push_back(key);
    });
    ReferenceResult expected;
    ReferenceResolve(lists, active, listsKeys, activeKeys, &expected);

    prompts.Clear();
    ResolveLinks();
    size_t i = 0;
    ForEachNode(lists, [&](Node n) {
      EXPECT_EQ(RecordOf(lists, n)->link, expected.listsLinks[i++]) << "round " << round;
      EXPECT_EQ(RecordOf(lists, n)->linkkey, 0);
    });
    i = 0;
    ForEachNode(active, [&](Node n) {
      TaskRecord* record = RecordOf(active, n);
      EXPECT_EQ(record->link, expected.activeLinks[i]) << "round " << round;
      EXPECT_EQ(record->paired, expected.paired[i]) << "round " << round;
      EXPECT_EQ(record->linkkey, 0);
      ++i;
    });
    // One box however many links were lost.
    EXPECT_EQ(prompts.shown().size(), expected.messages ? 1u : 0u) << "round " << round;
    if (HasFailure()) break;
    FreeForestRecords({&lists, &active});
    ClearRegister(App().tasks);
  }
}

TEST_F(TaskTree, DeleteTaskSubtreeFreesAndUnregistersItsRecords) {
  Sample s = BuildSample(lists, kRootNode);
  Node keep = InsertTask(lists, kRootNode, kLastNode, "Keep");
  EXPECT_EQ(App().tasks.count, 7u);
  ASSERT_TRUE(DeleteTaskSubtree(lists, s.a2));
  EXPECT_EQ(App().tasks.count, 5u);
  EXPECT_EQ(ForestShape(lists), "A(A1(A11),A3),Keep");
  size_t walked = 0;
  for (RegisterEntry* e = FirstEntry(App().tasks); e; e = NextEntry(e)) {
    EXPECT_NE(EntryRecord(e)->treeitem, s.a2);
    EXPECT_NE(EntryRecord(e)->treeitem, s.a21);
    ++walked;
  }
  EXPECT_EQ(walked, 5u);
  EXPECT_EQ(DeleteTaskSubtree(lists, nullptr), 0);

  Node today = InsertTask(active, kRootNode, kLastNode, "Today");
  InsertTask(active, today, kLastNode, "x");
  ASSERT_TRUE(DeleteTaskSubtree(active, today));
  EXPECT_EQ(active.Count(), 0u);
  EXPECT_EQ(App().tasks.count, 5u);

  ASSERT_TRUE(DeleteTaskSubtree(lists, kRootNode));
  EXPECT_EQ(lists.Count(), 0u);
  EXPECT_EQ(App().tasks.count, 0u);
  (void)keep;
}

TEST(ExpandBox, OnlyNestedParentsGetOneClearOfTheCheckBoxAndItGrowsWithTheDpi) {
  const struct {
    Rect text;
    int level;
    bool hasChildren, expanded;
    int checkWidth, dpi;
    ExpandBox box;
  } cases[] = {
      {{60, 32, 100, 48}, 0, true, false, 16, 96, {}},  // top-level nodes have none
      {{60, 32, 100, 48}, 2, false, false, 0, 96, {}},  // nor childless ones
      {{60, 32, 100, 48}, 1, true, false, 0, 96, {true, 48, 40, true, 4, 2, 1}},
      {{60, 32, 100, 48}, 1, true, true, 16, 96, {true, 32, 40, false, 4, 2, 1}},
      // 150%: 1.5 times the size, lines still one pixel.
      {{90, 48, 150, 72}, 1, true, false, 24, 144, {true, 48, 60, true, 6, 3, 1}},
      // 200% with a skin's check box at twice its 16 pixels.
      {{120, 64, 200, 96}, 1, true, true, 32, 192, {true, 64, 80, false, 8, 4, 2}},
  };
  for (const auto& c : cases) {
    const ExpandBox box = ExpandBoxFor(c.text, c.level, c.hasChildren, c.expanded, c.checkWidth, c.dpi);
    SCOPED_TRACE(testing::Message() << "level " << c.level << " at " << c.dpi);
    ASSERT_EQ(box.drawn, c.box.drawn);
    if (!box.drawn) continue;
    EXPECT_EQ(std::make_tuple(box.centerX, box.centerY, box.plus, box.half, box.bar, box.pen),
              std::make_tuple(c.box.centerX, c.box.centerY, c.box.plus, c.box.half, c.box.bar, c.box.pen));
  }
}

}  // namespace
