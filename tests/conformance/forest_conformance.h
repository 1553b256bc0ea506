// The behaviour every task forest must share with the tree-view control:
// the in-memory forest runs these cases natively, the window forest runs
// them under Wine against a real SysTreeView32. A case that fails only for
// the window forest means the in-memory forest is wrong.
//
// Instantiate with a factory type:
//   struct MyFactory {
//     // A fresh, empty forest (Lists-like when checkBoxes).
//     static std::unique_ptr<TaskForest> Make(bool checkBoxes);
//     // Optional: a normal image list of 1 x 1 images, and its release
//     // (drag images need one); without them the drag-image case uses a
//     // token the in-memory forest accepts.
//     static Handle MakeImageList();
//     static void FreeImageList(Handle list);
//     // Optional: lets pending window messages run.
//     static void Pump();
//   };
//   INSTANTIATE_TYPED_TEST_SUITE_P(Mine, ForestConformance, MyFactory);
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "base/forest.h"

namespace conformance {

template <typename F, typename = void>
struct HasPump : std::false_type {};
template <typename F>
struct HasPump<F, std::void_t<decltype(F::Pump())>> : std::true_type {};

template <typename F, typename = void>
struct HasImageList : std::false_type {};
template <typename F>
struct HasImageList<F, std::void_t<decltype(F::MakeImageList()), decltype(F::FreeImageList(nullptr))>>
    : std::true_type {};

// Records what the forest tells about label editing and answers as told.
class EditListener : public ForestListener {
 public:
  bool refuseBegin = false;
  bool takeText = true;
  std::vector<Node> begun;
  std::vector<Node> ended;
  std::vector<std::string> texts;  // "<none>" for a cancelled edit

  bool OnBeginLabelEdit(Node node) override {
    begun.push_back(node);
    return refuseBegin;
  }
  bool OnEndLabelEdit(Node node, const char* text) override {
    ended.push_back(node);
    texts.push_back(text ? text : "<none>");
    return takeText;
  }
};

}  // namespace conformance

template <typename Factory>
class ForestConformance : public ::testing::Test {
 protected:
  std::unique_ptr<TaskForest> Make(bool checkBoxes) {
    std::unique_ptr<TaskForest> forest = Factory::Make(checkBoxes);
    Pump();
    return forest;
  }

  static void Pump() {
    if constexpr (conformance::HasPump<Factory>::value) Factory::Pump();
  }

  static Node Add(TaskForest& forest, Node parent, const char* text, Node after = kLastNode) {
    ForestItem item{};
    item.mask = kItemText;
    item.text = const_cast<char*>(text);
    return forest.Insert(parent, after, item);
  }

  static std::string Text(TaskForest& forest, Node node) {
    if (!node) return "<none>";
    char buffer[512] = {};
    ForestItem item{};
    item.mask = kItemText;
    item.node = node;
    item.text = buffer;
    item.textMax = sizeof buffer;
    if (!forest.GetItem(item)) return "<unreadable>";
    return buffer;
  }

  // The texts of the nodes met from the first visible row downwards.
  static std::string VisibleTexts(TaskForest& forest) {
    std::string all;
    for (Node at = forest.GetNext(nullptr, Relation::kRoot); at;
         at = forest.GetNext(at, Relation::kNextVisible)) {
      if (!all.empty()) all += ' ';
      all += Text(forest, at);
    }
    return all;
  }

  static std::string Children(TaskForest& forest, Node parent) {
    std::string all;
    for (Node at = forest.GetNext(parent, Relation::kChild); at; at = forest.GetNext(at, Relation::kNext)) {
      if (!all.empty()) all += ' ';
      all += Text(forest, at);
    }
    return all;
  }

  static int Rect_(TaskForest& forest, Node node, bool textOnly, Rect* rect) {
    *rect = Rect{};
    return forest.GetItemRect(node, textOnly, rect);
  }
};

TYPED_TEST_SUITE_P(ForestConformance);

TYPED_TEST_P(ForestConformance, InsertsInOrderAndNavigatesSiblingsParentsAndChildren) {
  auto forest = this->Make(false);
  TaskForest& f = *forest;
  Node b = this->Add(f, kRootNode, "b");
  Node a = this->Add(f, kRootNode, "a", kFirstNode);
  Node d = this->Add(f, kRootNode, "d");
  Node c = this->Add(f, kRootNode, "c", b);
  ASSERT_TRUE(a && b && c && d);
  EXPECT_EQ(this->Children(f, kRootNode), "a b c d");
  EXPECT_EQ(f.GetNext(nullptr, Relation::kRoot), a);
  EXPECT_EQ(f.GetNext(kRootNode, Relation::kChild), a);
  EXPECT_EQ(f.GetNext(kRootNode, Relation::kNext), nullptr);
  EXPECT_EQ(f.GetNext(c, Relation::kPrevious), b);
  EXPECT_EQ(f.GetNext(a, Relation::kPrevious), nullptr);
  EXPECT_EQ(f.GetNext(d, Relation::kNext), nullptr);
  EXPECT_EQ(f.GetNext(a, Relation::kParent), nullptr);

  Node b2 = this->Add(f, b, "b2");
  Node b1 = this->Add(f, b, "b1", kFirstNode);
  Node b3 = this->Add(f, b, "b3", b2);
  Node b21 = this->Add(f, b2, "b21");
  EXPECT_EQ(this->Children(f, b), "b1 b2 b3");
  EXPECT_EQ(f.GetNext(b3, Relation::kParent), b);
  EXPECT_EQ(f.GetNext(b21, Relation::kParent), b2);
  EXPECT_EQ(f.GetNext(b, Relation::kChild), b1);
  EXPECT_EQ(f.GetNext(b1, Relation::kChild), nullptr);
  EXPECT_EQ(f.Count(), 8u);

  // The conveniences built on the interface.
  EXPECT_EQ(ParentOf(f, b21), b2);
  EXPECT_EQ(FirstChild(f, kRootNode), a);
  EXPECT_EQ(NextSibling(f, b1), b2);
  EXPECT_EQ(PreviousSibling(f, b2), b1);
  EXPECT_EQ(LevelOf(f, a), 0);
  EXPECT_EQ(LevelOf(f, b21), 2);
  std::string order;
  for (Node at = a; at; at = NextInTreeOrder(f, at, nullptr)) order += this->Text(f, at) + " ";
  EXPECT_EQ(order, "a b b1 b2 b21 b3 c d ");
  std::string within;
  for (Node at = b2; at; at = NextInTreeOrder(f, at, b2)) within += this->Text(f, at) + " ";
  EXPECT_EQ(within, "b2 b21 ");
}

TYPED_TEST_P(ForestConformance, ReadsTextTruncatedAndTerminatedWithinTheBuffer) {
  auto forest = this->Make(false);
  TaskForest& f = *forest;
  std::string longName(300, 'x');
  longName[299] = 'y';
  Node node = this->Add(f, kRootNode, longName.c_str());
  Node shortNode = this->Add(f, kRootNode, "abcdefgh");
  ASSERT_TRUE(node && shortNode);
  EXPECT_EQ(this->Text(f, node), longName);

  char buffer[16];
  std::memset(buffer, 'Z', sizeof buffer);
  ForestItem item{};
  item.mask = kItemText;
  item.node = shortNode;
  item.text = buffer;
  item.textMax = 4;
  ASSERT_TRUE(f.GetItem(item));
  EXPECT_STREQ(buffer, "abc");
  EXPECT_EQ(buffer[4], 'Z') << "wrote past the buffer size";

  ForestItem rename{};
  rename.mask = kItemText;
  rename.node = shortNode;
  rename.text = const_cast<char*>("renamed");
  ASSERT_TRUE(f.SetItem(rename));
  EXPECT_EQ(this->Text(f, shortNode), "renamed");
}

TYPED_TEST_P(ForestConformance, KeepsRecordImagesAndStateBitsUnderTheirMasks) {
  auto forest = this->Make(false);
  TaskForest& f = *forest;
  auto* record = reinterpret_cast<TaskRecord*>(static_cast<uintptr_t>(0x5150));
  ForestItem in{};
  in.mask = kItemText | kItemRecord | kItemImage | kItemSelectedImage | kItemState;
  in.text = const_cast<char*>("n");
  in.record = record;
  in.image = 0;
  in.selectedImage = 0;
  in.state = kStateBold | StateImage(kChecked);
  in.stateMask = kStateBold | kStateImageMask;
  Node node = f.Insert(kRootNode, kLastNode, in);
  ASSERT_TRUE(node);

  ForestItem out{};
  out.mask = kItemRecord | kItemState | kItemImage | kItemSelectedImage;
  out.node = node;
  out.stateMask = 0xFFFF;
  ASSERT_TRUE(f.GetItem(out));
  EXPECT_EQ(out.record, record);
  EXPECT_EQ(out.image, 0);
  EXPECT_EQ(out.selectedImage, 0);
  EXPECT_TRUE(out.state & kStateBold);
  EXPECT_EQ(StateImageOf(out.state), kChecked);
  EXPECT_EQ(f.GetState(node, kStateBold), unsigned{kStateBold});
  EXPECT_EQ(f.GetState(node, kStateExpanded), 0u);

  // Writing one bit under its mask leaves the others alone.
  ForestItem set{};
  set.mask = kItemState;
  set.node = node;
  set.state = 0;
  set.stateMask = kStateBold;
  ASSERT_TRUE(f.SetItem(set));
  EXPECT_EQ(f.GetState(node, kStateBold), 0u);
  EXPECT_EQ(StateImageOf(f.GetState(node, kStateImageMask)), kChecked);
  set.state = StateImage(kUnchecked) | kStateBold;
  set.stateMask = kStateImageMask;
  ASSERT_TRUE(f.SetItem(set));
  EXPECT_EQ(f.GetState(node, kStateBold | kStateImageMask), StateImage(kUnchecked));

  ForestItem clearRecord{};
  clearRecord.mask = kItemRecord;
  clearRecord.node = node;
  ASSERT_TRUE(f.SetItem(clearRecord));
  out.mask = kItemRecord;
  ASSERT_TRUE(f.GetItem(out));
  EXPECT_EQ(out.record, nullptr);
}

TYPED_TEST_P(ForestConformance, CheckBoxTreesGiveEveryNewNodeABox) {
  auto lists = this->Make(true);
  auto plain = this->Make(false);
  EXPECT_TRUE(lists->HasCheckBoxes());
  EXPECT_FALSE(plain->HasCheckBoxes());
  Node fresh = this->Add(*lists, kRootNode, "fresh");
  Node child = this->Add(*lists, fresh, "child");
  EXPECT_EQ(StateImageOf(lists->GetState(fresh, kStateImageMask)), kUnchecked);
  EXPECT_EQ(StateImageOf(lists->GetState(child, kStateImageMask)), kUnchecked);

  ForestItem item{};
  item.mask = kItemText | kItemState;
  item.text = const_cast<char*>("checked");
  item.state = StateImage(kChecked);
  item.stateMask = kStateImageMask;
  Node checked = lists->Insert(kRootNode, kLastNode, item);
  EXPECT_EQ(StateImageOf(lists->GetState(checked, kStateImageMask)), kChecked);
  // Even an explicit "no image" gets the empty box.
  item.state = 0;
  Node none = lists->Insert(kRootNode, kLastNode, item);
  EXPECT_EQ(StateImageOf(lists->GetState(none, kStateImageMask)), kUnchecked);
  // Bold alone keeps the default box too.
  item.state = kStateBold;
  item.stateMask = kStateBold;
  Node bold = lists->Insert(kRootNode, kLastNode, item);
  EXPECT_EQ(lists->GetState(bold, kStateBold | kStateImageMask), kStateBold | StateImage(kUnchecked));

  Node plainNode = this->Add(*plain, kRootNode, "plain");
  EXPECT_EQ(plain->GetState(plainNode, kStateImageMask), 0u);
}

TYPED_TEST_P(ForestConformance, ChildrenFlagFollowsTheChildren) {
  auto forest = this->Make(false);
  TaskForest& f = *forest;
  Node parent = this->Add(f, kRootNode, "parent");
  Node leaf = this->Add(f, kRootNode, "leaf");
  Node child = this->Add(f, parent, "child");
  auto children = [&](Node node) {
    ForestItem item{};
    item.mask = kItemChildren;
    item.node = node;
    item.children = -5;
    EXPECT_TRUE(f.GetItem(item));
    return item.children;
  };
  EXPECT_NE(children(parent), 0);
  EXPECT_EQ(children(leaf), 0);
  ASSERT_TRUE(f.Delete(child));
  EXPECT_EQ(children(parent), 0);
}

TYPED_TEST_P(ForestConformance, ExpandsCollapsesAndTogglesOnlyNodesWithChildren) {
  auto forest = this->Make(false);
  TaskForest& f = *forest;
  Node parent = this->Add(f, kRootNode, "parent");
  Node leaf = this->Add(f, kRootNode, "leaf");
  this->Add(f, parent, "child");

  EXPECT_EQ(f.Expand(leaf, ExpandAction::kExpand), 0);
  EXPECT_EQ(f.GetState(leaf, kStateExpanded), 0u);
  EXPECT_EQ(f.Expand(leaf, ExpandAction::kToggle), 0);
  EXPECT_EQ(f.GetState(leaf, kStateExpanded), 0u);

  EXPECT_EQ(f.GetState(parent, kStateExpanded), 0u) << "new nodes start collapsed";
  EXPECT_NE(f.Expand(parent, ExpandAction::kExpand), 0);
  EXPECT_EQ(f.GetState(parent, kStateExpanded | kStateExpandedOnce), kStateExpanded | kStateExpandedOnce);
  EXPECT_NE(f.Expand(parent, ExpandAction::kCollapse), 0);
  EXPECT_EQ(f.GetState(parent, kStateExpanded), 0u);
  EXPECT_EQ(f.Expand(parent, ExpandAction::kCollapse), 0) << "nothing to collapse";
  EXPECT_NE(f.Expand(parent, ExpandAction::kToggle), 0);
  EXPECT_NE(f.GetState(parent, kStateExpanded), 0u);
  EXPECT_NE(f.Expand(parent, ExpandAction::kToggle), 0);
  EXPECT_EQ(f.GetState(parent, kStateExpanded), 0u);
}

TYPED_TEST_P(ForestConformance, AnExpandedBitOutlivesTheChildren) {
  auto forest = this->Make(false);
  TaskForest& f = *forest;
  // Lists are loaded with their expanded bits before their children.
  ForestItem item{};
  item.mask = kItemText | kItemState;
  item.text = const_cast<char*>("open");
  item.state = kStateExpanded;
  item.stateMask = kStateExpanded;
  Node open = f.Insert(kRootNode, kLastNode, item);
  ASSERT_TRUE(open);
  EXPECT_NE(f.GetState(open, kStateExpanded), 0u);
  Node child = this->Add(f, open, "child");
  EXPECT_EQ(f.GetNext(open, Relation::kNextVisible), child);

  // Losing the last child keeps the bit, so a new child shows at once.
  ASSERT_TRUE(f.Delete(child));
  EXPECT_NE(f.GetState(open, kStateExpanded), 0u);
  Node again = this->Add(f, open, "again");
  EXPECT_EQ(f.GetNext(open, Relation::kNextVisible), again);
  Rect r;
  EXPECT_TRUE(this->Rect_(f, again, false, &r));
}

TYPED_TEST_P(ForestConformance, VisibleNodesAreThoseWithAllAncestorsExpanded) {
  auto forest = this->Make(false);
  TaskForest& f = *forest;
  Node a = this->Add(f, kRootNode, "a");
  Node a1 = this->Add(f, a, "a1");
  Node a11 = this->Add(f, a1, "a11");
  Node a2 = this->Add(f, a, "a2");
  Node b = this->Add(f, kRootNode, "b");
  Node b1 = this->Add(f, b, "b1");
  ASSERT_TRUE(a && a1 && a11 && a2 && b && b1);

  EXPECT_EQ(this->VisibleTexts(f), "a b");
  EXPECT_EQ(f.GetNext(nullptr, Relation::kLastVisible), b);
  EXPECT_EQ(f.GetNext(b, Relation::kPreviousVisible), a);

  f.Expand(a, ExpandAction::kExpand);
  EXPECT_EQ(this->VisibleTexts(f), "a a1 a2 b");
  EXPECT_EQ(f.GetNext(b, Relation::kPreviousVisible), a2);
  EXPECT_EQ(f.GetNext(a1, Relation::kNextVisible), a2);

  // An open node under a closed one stays hidden with it.
  f.Expand(a1, ExpandAction::kExpand);
  f.Expand(a, ExpandAction::kCollapse);
  EXPECT_EQ(this->VisibleTexts(f), "a b");
  f.Expand(a, ExpandAction::kExpand);
  EXPECT_EQ(this->VisibleTexts(f), "a a1 a11 a2 b");
  EXPECT_EQ(f.GetNext(a2, Relation::kPreviousVisible), a11);
  EXPECT_EQ(f.GetNext(a1, Relation::kPreviousVisible), a);
  EXPECT_EQ(f.GetNext(a, Relation::kPreviousVisible), nullptr);

  f.Expand(b, ExpandAction::kExpand);
  EXPECT_EQ(f.GetNext(nullptr, Relation::kLastVisible), b1);
  EXPECT_EQ(f.GetNext(b1, Relation::kNextVisible), nullptr);
  EXPECT_EQ(f.GetNext(nullptr, Relation::kFirstVisible), a);
}

TYPED_TEST_P(ForestConformance, CaretSelectionOpensTheWayAndFollowsCollapse) {
  auto forest = this->Make(false);
  TaskForest& f = *forest;
  Node a = this->Add(f, kRootNode, "a");
  Node a1 = this->Add(f, a, "a1");
  Node a11 = this->Add(f, a1, "a11");
  Node b = this->Add(f, kRootNode, "b");
  EXPECT_EQ(SelectedNode(f), nullptr);

  ASSERT_TRUE(f.Select(a11, Relation::kCaret));
  this->Pump();
  EXPECT_EQ(SelectedNode(f), a11);
  EXPECT_NE(f.GetState(a, kStateExpanded), 0u);
  EXPECT_NE(f.GetState(a1, kStateExpanded), 0u);
  EXPECT_NE(f.GetState(a11, kStateSelected), 0u);

  // Closing an ancestor of the caret brings the caret up to it.
  EXPECT_NE(f.Expand(a, ExpandAction::kCollapse), 0);
  EXPECT_EQ(SelectedNode(f), a);
  EXPECT_NE(f.GetState(a, kStateSelected), 0u);
  EXPECT_EQ(f.GetState(a11, kStateSelected), 0u);

  ASSERT_TRUE(f.Select(b, Relation::kCaret));
  EXPECT_EQ(SelectedNode(f), b);
  EXPECT_EQ(f.GetState(a, kStateSelected), 0u);
  // Closing a node that does not hold the caret leaves it.
  f.Expand(a, ExpandAction::kExpand);
  f.Expand(a, ExpandAction::kCollapse);
  EXPECT_EQ(SelectedNode(f), b);

  ASSERT_TRUE(f.Select(nullptr, Relation::kCaret));
  EXPECT_EQ(SelectedNode(f), nullptr);
  EXPECT_EQ(f.GetState(b, kStateSelected), 0u);
}

TYPED_TEST_P(ForestConformance, DeletingTheCaretMovesItToNextSiblingElseParentElsePrevious) {
  auto forest = this->Make(false);
  TaskForest& f = *forest;
  Node a = this->Add(f, kRootNode, "a");
  Node x = this->Add(f, a, "x");
  Node y = this->Add(f, a, "y");
  Node z = this->Add(f, a, "z");
  Node z1 = this->Add(f, z, "z1");
  Node b = this->Add(f, kRootNode, "b");

  f.Select(x, Relation::kCaret);
  ASSERT_TRUE(f.Delete(x));
  EXPECT_EQ(SelectedNode(f), y) << "next sibling first";

  f.Select(z1, Relation::kCaret);
  ASSERT_TRUE(f.Delete(z));
  EXPECT_EQ(SelectedNode(f), a) << "a deleted ancestor of the caret: its parent, not the previous sibling";

  f.Select(b, Relation::kCaret);
  ASSERT_TRUE(f.Delete(b));
  EXPECT_EQ(SelectedNode(f), a) << "a top-level node without next sibling: the previous one";

  // Deleting a node away from the caret leaves it.
  Node c = this->Add(f, kRootNode, "c");
  f.Select(c, Relation::kCaret);
  ASSERT_TRUE(f.Delete(y));
  EXPECT_EQ(SelectedNode(f), c);

  // The last node of all leaves no caret.
  ASSERT_TRUE(f.Delete(a));
  EXPECT_EQ(SelectedNode(f), c);
  ASSERT_TRUE(f.Delete(c));
  EXPECT_EQ(SelectedNode(f), nullptr);
  EXPECT_EQ(f.Count(), 0u);
}

TYPED_TEST_P(ForestConformance, DeletesWholeSubtreesAndEmptiesFromTheRoot) {
  auto forest = this->Make(true);
  TaskForest& f = *forest;
  Node a = this->Add(f, kRootNode, "a");
  Node a1 = this->Add(f, a, "a1");
  this->Add(f, a1, "a11");
  this->Add(f, a, "a2");
  Node b = this->Add(f, kRootNode, "b");
  Node b1 = this->Add(f, b, "b1");
  EXPECT_EQ(f.Count(), 6u);
  ASSERT_TRUE(f.Delete(a));
  EXPECT_EQ(f.Count(), 2u);
  EXPECT_EQ(this->Children(f, kRootNode), "b");
  // Survivors keep their handles.
  EXPECT_EQ(this->Text(f, b1), "b1");
  EXPECT_EQ(f.GetNext(b1, Relation::kParent), b);
  ForestItem gone{};
  gone.mask = kItemState;
  gone.node = a1;
  EXPECT_EQ(f.GetItem(gone), 0) << "a deleted node cannot be read";
  EXPECT_EQ(f.Delete(nullptr), 0) << "a failed lookup must not empty the tree";
  EXPECT_EQ(f.Count(), 2u);

  f.Select(b1, Relation::kCaret);
  f.Select(b, Relation::kDropHilite);
  ASSERT_TRUE(f.Delete(kRootNode));
  EXPECT_EQ(f.Count(), 0u);
  EXPECT_EQ(f.GetNext(nullptr, Relation::kRoot), nullptr);
  EXPECT_EQ(SelectedNode(f), nullptr);
  EXPECT_EQ(f.GetNext(nullptr, Relation::kDropHilite), nullptr);
  EXPECT_EQ(f.GetNext(nullptr, Relation::kFirstVisible), nullptr);
  EXPECT_EQ(f.GetNext(nullptr, Relation::kLastVisible), nullptr);
  EXPECT_TRUE(this->Add(f, kRootNode, "again"));
  EXPECT_EQ(f.Count(), 1u);
}

TYPED_TEST_P(ForestConformance, DropHighlightIsMarkedAndCleared) {
  auto forest = this->Make(false);
  TaskForest& f = *forest;
  Node a = this->Add(f, kRootNode, "a");
  Node b = this->Add(f, kRootNode, "b");
  ASSERT_TRUE(f.Select(a, Relation::kDropHilite));
  EXPECT_EQ(f.GetNext(nullptr, Relation::kDropHilite), a);
  EXPECT_NE(f.GetState(a, kStateDropHilited), 0u);
  ASSERT_TRUE(f.Select(b, Relation::kDropHilite));
  EXPECT_EQ(f.GetState(a, kStateDropHilited), 0u);
  EXPECT_NE(f.GetState(b, kStateDropHilited), 0u);
  EXPECT_EQ(SelectedNode(f), nullptr) << "the drop target is not the caret";
  // Wine's control ignores a clearing request while there is no caret; in a
  // drag there always is one.
  f.Select(a, Relation::kCaret);
  f.Select(nullptr, Relation::kDropHilite);
  EXPECT_EQ(f.GetNext(nullptr, Relation::kDropHilite), nullptr);
  EXPECT_EQ(f.GetState(b, kStateDropHilited), 0u);
}

TYPED_TEST_P(ForestConformance, RowsStackDownwardsAndHitTestsFindThem) {
  auto forest = this->Make(true);
  TaskForest& f = *forest;
  Node a = this->Add(f, kRootNode, "alpha");
  Node a1 = this->Add(f, a, "alpha one");
  Node a11 = this->Add(f, a1, "alpha one one");
  Node b = this->Add(f, kRootNode, "beta");
  f.Expand(a, ExpandAction::kExpand);
  this->Pump();

  Rect ra, ra1, rb, ta, ta1, tb, none;
  ASSERT_TRUE(this->Rect_(f, a, false, &ra));
  ASSERT_TRUE(this->Rect_(f, a1, false, &ra1));
  ASSERT_TRUE(this->Rect_(f, b, false, &rb));
  ASSERT_TRUE(this->Rect_(f, a, true, &ta));
  ASSERT_TRUE(this->Rect_(f, a1, true, &ta1));
  ASSERT_TRUE(this->Rect_(f, b, true, &tb));
  EXPECT_EQ(this->Rect_(f, a11, false, &none), 0) << "a node under a closed parent has no row";
  EXPECT_EQ(this->Rect_(f, a11, true, &none), 0);

  EXPECT_EQ(ra.top, 0);
  EXPECT_GT(ra1.top, ra.top);
  EXPECT_GT(rb.top, ra1.top);
  EXPECT_EQ(rb.top - ra1.top, ra1.top - ra.top) << "rows have one height";
  EXPECT_GT(ta1.left, ta.left) << "deeper levels start further right";
  EXPECT_EQ(tb.left, ta.left);
  EXPECT_GT(ta.right, ta.left);
  EXPECT_LE(ra.left, ta.left);
  EXPECT_GE(ra.right, ta.right);
  EXPECT_EQ(ta1.top, ra1.top);

  for (Node node : {a, a1, b}) {
    Rect text;
    ASSERT_TRUE(this->Rect_(f, node, true, &text));
    unsigned flags = 0;
    Point centre{(text.left + text.right) / 2, (text.top + text.bottom) / 2};
    EXPECT_EQ(f.HitTest(centre, &flags), node);
    EXPECT_TRUE(flags & kHitOnItem) << std::hex << flags;
    EXPECT_TRUE(flags & kHitOnLabel) << std::hex << flags;
  }
  // Left of a deeper row's label is its indent.
  unsigned flags = 0;
  EXPECT_EQ(f.HitTest(Point{1, (ra1.top + ra1.bottom) / 2}, &flags), a1);
  EXPECT_FALSE(flags & kHitOnLabel);
  // Below the last row there is nothing.
  Rect client = f.ClientRect();
  ASSERT_GT(client.bottom, rb.bottom + 1);
  flags = 0;
  EXPECT_EQ(f.HitTest(Point{2, client.bottom - 2}, &flags), nullptr);
  EXPECT_TRUE(flags & kHitNowhere) << std::hex << flags;
}

TYPED_TEST_P(ForestConformance, EnsureVisibleOpensAndScrollsTheNodeIn) {
  auto forest = this->Make(false);
  TaskForest& f = *forest;
  Rect client = f.ClientRect();
  Node first = this->Add(f, kRootNode, "first");
  // Rows until the view is more than twice over.
  Node last = first;
  Rect row{};
  for (int i = 0; i < 1000 && row.top <= 2 * client.bottom; ++i) {
    last = this->Add(f, kRootNode, "row");
    ASSERT_TRUE(this->Rect_(f, last, false, &row));
  }
  Node deep = this->Add(f, last, "deep");
  this->Pump();

  EXPECT_EQ(f.GetNext(nullptr, Relation::kFirstVisible), first);
  f.EnsureVisible(deep);
  this->Pump();
  EXPECT_NE(f.GetState(last, kStateExpanded), 0u) << "the parent was opened";
  Rect r;
  ASSERT_TRUE(this->Rect_(f, deep, false, &r));
  EXPECT_GE(r.top, client.top);
  EXPECT_LE(r.bottom, client.bottom);
  EXPECT_NE(f.GetNext(nullptr, Relation::kFirstVisible), first);
  ASSERT_TRUE(this->Rect_(f, first, false, &r)) << "a row scrolled out still has its place";
  EXPECT_LT(r.top, client.top);

  f.EnsureVisible(first);
  this->Pump();
  EXPECT_EQ(f.GetNext(nullptr, Relation::kFirstVisible), first);
  ASSERT_TRUE(this->Rect_(f, first, false, &r));
  EXPECT_EQ(r.top, 0);
}

TYPED_TEST_P(ForestConformance, LabelEditsAreAcceptedOrRefusedByTheListener) {
  auto forest = this->Make(false);
  TaskForest& f = *forest;
  conformance::EditListener listener;
  f.SetListener(&listener);
  Node node = this->Add(f, kRootNode, "old");
  EXPECT_EQ(f.GetEditControl(), nullptr);
  EXPECT_EQ(f.EndEditLabelNow(false), 0) << "no edit under way";

  Handle edit = f.EditLabel(node);
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(f.GetEditControl(), edit);
  ASSERT_EQ(listener.begun.size(), 1u);
  EXPECT_EQ(listener.begun[0], node);
  char text[32] = {};
  f.GetEditText(text, sizeof text);
  EXPECT_STREQ(text, "old");
  ASSERT_TRUE(f.SetEditText("new"));
  listener.takeText = false;
  EXPECT_TRUE(f.EndEditLabelNow(false));
  this->Pump();
  ASSERT_EQ(listener.texts.size(), 1u);
  EXPECT_EQ(listener.texts[0], "new");
  EXPECT_EQ(listener.ended[0], node);
  EXPECT_EQ(this->Text(f, node), "old") << "the listener did not take it";
  EXPECT_EQ(f.GetEditControl(), nullptr);

  ASSERT_NE(f.EditLabel(node), nullptr);
  f.SetEditText("newer");
  listener.takeText = true;
  EXPECT_TRUE(f.EndEditLabelNow(false));
  this->Pump();
  EXPECT_EQ(this->Text(f, node), "newer");

  ASSERT_NE(f.EditLabel(node), nullptr);
  f.SetEditText("cancelled");
  EXPECT_TRUE(f.EndEditLabelNow(true));
  this->Pump();
  ASSERT_EQ(listener.texts.size(), 3u);
  EXPECT_EQ(listener.texts[2], "<none>");
  EXPECT_EQ(this->Text(f, node), "newer");

  listener.refuseBegin = true;
  EXPECT_EQ(f.EditLabel(node), nullptr);
  EXPECT_EQ(f.GetEditControl(), nullptr);
  EXPECT_EQ(listener.ended.size(), 3u);
  f.SetListener(nullptr);
}

TYPED_TEST_P(ForestConformance, DragImagesComeFromTheNormalImageList) {
  auto forest = this->Make(false);
  TaskForest& f = *forest;
  Node node = this->Add(f, kRootNode, "drag me");
  // The factory may have given the tree its images already. (Without a
  // normal image list the control makes no drag image; every task tree has
  // one, so the in-memory forest does not insist.)
  Handle before = f.SetImageList(ImageListKind::kNormal, nullptr);
  EXPECT_EQ(f.GetImageList(ImageListKind::kNormal), nullptr);
  Handle list = nullptr;
  if constexpr (conformance::HasImageList<TypeParam>::value)
    list = TypeParam::MakeImageList();
  else
    list = reinterpret_cast<Handle>(static_cast<uintptr_t>(0xC0DE));
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(f.SetImageList(ImageListKind::kNormal, list), nullptr);
  EXPECT_EQ(f.GetImageList(ImageListKind::kNormal), list);
  Handle image = f.CreateDragImage(node);
  EXPECT_NE(image, nullptr);
  EXPECT_EQ(f.CreateDragImage(nullptr), nullptr);
  if (image) f.DestroyDragImage(image);
  EXPECT_EQ(f.SetImageList(ImageListKind::kNormal, before), list);
  if constexpr (conformance::HasImageList<TypeParam>::value) TypeParam::FreeImageList(list);
}

TYPED_TEST_P(ForestConformance, ColoursAreKeptAndLinesStartAsTheSystems) {
  auto forest = this->Make(false);
  TaskForest& f = *forest;
  EXPECT_EQ(f.GetLineColor(), kDefaultColor);
  Color before = f.GetBackgroundColor();
  EXPECT_EQ(f.SetBackgroundColor(MakeColor(1, 2, 3)), before);
  EXPECT_EQ(f.GetBackgroundColor(), MakeColor(1, 2, 3));
  EXPECT_EQ(f.SetBackgroundColor(kKeyColor), MakeColor(1, 2, 3));
}

TYPED_TEST_P(ForestConformance, SuspendedPaintingChangesNothingElse) {
  auto forest = this->Make(true);
  TaskForest& f = *forest;
  f.SetRedraw(false);
  Node a = this->Add(f, kRootNode, "a");
  Node a1 = this->Add(f, a, "a1");
  f.Expand(a, ExpandAction::kExpand);
  f.SetRedraw(true);
  this->Pump();
  EXPECT_EQ(f.Count(), 2u);
  EXPECT_EQ(f.GetNext(a, Relation::kNextVisible), a1);
  Rect r;
  EXPECT_TRUE(this->Rect_(f, a1, true, &r));
}

REGISTER_TYPED_TEST_SUITE_P(ForestConformance, InsertsInOrderAndNavigatesSiblingsParentsAndChildren,
                            ReadsTextTruncatedAndTerminatedWithinTheBuffer,
                            KeepsRecordImagesAndStateBitsUnderTheirMasks, CheckBoxTreesGiveEveryNewNodeABox,
                            ChildrenFlagFollowsTheChildren, ExpandsCollapsesAndTogglesOnlyNodesWithChildren,
                            AnExpandedBitOutlivesTheChildren, VisibleNodesAreThoseWithAllAncestorsExpanded,
                            CaretSelectionOpensTheWayAndFollowsCollapse,
                            DeletingTheCaretMovesItToNextSiblingElseParentElsePrevious,
                            DeletesWholeSubtreesAndEmptiesFromTheRoot, DropHighlightIsMarkedAndCleared,
                            RowsStackDownwardsAndHitTestsFindThem, EnsureVisibleOpensAndScrollsTheNodeIn,
                            LabelEditsAreAcceptedOrRefusedByTheListener, DragImagesComeFromTheNormalImageList,
                            ColoursAreKeptAndLinesStartAsTheSystems, SuspendedPaintingChangesNothingElse);
