// What the in-memory forest adds to the conformance cases: its own layout,
// scrolling, edit life and the cost of big trees.
#include <gtest/gtest.h>

#include <vector>

#include "base/forest.h"
#include "fakes/memoryforest.h"

namespace {

Node Add(TaskForest& forest, Node parent, const char* text = "t", Node after = kLastNode) {
  ForestItem item{};
  item.mask = kItemText;
  item.text = const_cast<char*>(text);
  return forest.Insert(parent, after, item);
}

TEST(MemoryForest, StartsWithTheSystemColoursAndNoImages) {
  MemoryForest forest(true);
  EXPECT_EQ(forest.GetBackgroundColor(), MemoryForest::kNoColor);
  EXPECT_EQ(forest.GetTextColor(), MemoryForest::kNoColor);
  EXPECT_EQ(forest.GetLineColor(), kDefaultColor);
  EXPECT_EQ(forest.GetImageList(ImageListKind::kNormal), nullptr);
  EXPECT_EQ(forest.GetImageList(ImageListKind::kState), nullptr);
  EXPECT_EQ(forest.Window(), nullptr);
  Rect client = forest.ClientRect();
  EXPECT_GT(client.right, 0);
  forest.SetClientSize(120, 64);
  client = forest.ClientRect();
  EXPECT_EQ(client.right, 120);
  EXPECT_EQ(client.bottom, 64);
}

TEST(MemoryForest, LayoutHasStateAndImageColumnsBeforeTheLabel) {
  MemoryForest lists(true);
  MemoryForest plain(false);
  int dummy = 0;
  Handle images = &dummy;
  lists.SetImageList(ImageListKind::kNormal, images);
  Node a = Add(lists, kRootNode, "abc");
  Node b = Add(plain, kRootNode, "abc");
  Rect ra, rb;
  ASSERT_TRUE(lists.GetItemRect(a, true, &ra));
  ASSERT_TRUE(plain.GetItemRect(b, true, &rb));
  EXPECT_EQ(rb.left, 0);
  EXPECT_EQ(ra.left, MemoryForest::kStateIconWidth + MemoryForest::kImageWidth + MemoryForest::kImageGap);
  EXPECT_EQ(ra.right - ra.left, rb.right - rb.left);

  unsigned flags = 0;
  EXPECT_EQ(lists.HitTest(Point{2, 3}, &flags), a);
  EXPECT_EQ(flags, unsigned{kHitOnStateIcon});
  EXPECT_EQ(lists.HitTest(Point{MemoryForest::kStateIconWidth, 3}, &flags), a);
  EXPECT_EQ(flags, unsigned{kHitOnIcon});
  EXPECT_EQ(lists.HitTest(Point{ra.right + 1, 3}, &flags), a);
  EXPECT_EQ(flags, unsigned{kHitOnRight});
  EXPECT_EQ(lists.HitTest(Point{-1, 3}, &flags), nullptr);
  EXPECT_EQ(flags, unsigned{kHitToLeft});
  EXPECT_EQ(lists.HitTest(Point{3, -1}, &flags), nullptr);
  EXPECT_EQ(flags, unsigned{kHitAbove});
  Rect client = lists.ClientRect();
  EXPECT_EQ(lists.HitTest(Point{client.right, client.bottom}, &flags), nullptr);
  EXPECT_EQ(flags, unsigned{kHitToRight | kHitBelow});
}

TEST(MemoryForest, TopRowFollowsScrollingCollapseAndDeletion) {
  MemoryForest forest(false);
  forest.SetClientSize(100, 4 * MemoryForest::kRowHeight);
  std::vector<Node> rows;
  for (int i = 0; i < 10; ++i) rows.push_back(Add(forest, kRootNode));
  Node child = Add(forest, rows[5]);
  EXPECT_EQ(forest.GetNext(nullptr, Relation::kFirstVisible), rows[0]);

  ASSERT_TRUE(forest.Select(rows[4], Relation::kFirstVisible));
  EXPECT_EQ(forest.GetNext(nullptr, Relation::kFirstVisible), rows[4]);
  Rect r;
  ASSERT_TRUE(forest.GetItemRect(rows[2], false, &r));
  EXPECT_EQ(r.top, -2 * MemoryForest::kRowHeight);
  // The view never leaves an empty gap under the last row.
  ASSERT_TRUE(forest.Select(rows[9], Relation::kFirstVisible));
  EXPECT_EQ(forest.GetNext(nullptr, Relation::kFirstVisible), rows[6]);

  // Scrolling to the child opens its parent; closing the parent brings the
  // top row back to it.
  ASSERT_TRUE(forest.Select(child, Relation::kFirstVisible));
  EXPECT_NE(forest.GetState(rows[5], kStateExpanded), 0u);
  EXPECT_EQ(forest.GetNext(nullptr, Relation::kFirstVisible), child);
  forest.Expand(rows[5], ExpandAction::kCollapse);
  EXPECT_EQ(forest.GetNext(nullptr, Relation::kFirstVisible), rows[5]);

  ASSERT_TRUE(forest.Delete(rows[5]));
  EXPECT_EQ(forest.GetNext(nullptr, Relation::kFirstVisible), rows[6]);
  EXPECT_TRUE(forest.EnsureVisible(rows[0]));
  EXPECT_EQ(forest.GetNext(nullptr, Relation::kFirstVisible), rows[0]);
  EXPECT_FALSE(forest.EnsureVisible(rows[1])) << "already in view";
}

TEST(MemoryForest, AnEditEndsWithItsNodeAndEditsDoNotOverlap) {
  struct Listener : ForestListener {
    int ends = 0;
    bool OnBeginLabelEdit(Node) override { return false; }
    bool OnEndLabelEdit(Node, const char* text) override {
      ++ends;
      return text != nullptr;
    }
  } listener;
  MemoryForest forest(false);
  forest.SetListener(&listener);
  Node a = Add(forest, kRootNode, "a");
  Node b = Add(forest, kRootNode, "b");
  ASSERT_TRUE(forest.EditLabel(a));
  forest.SetEditText("changed");
  // A second edit cancels the first.
  ASSERT_TRUE(forest.EditLabel(b));
  EXPECT_EQ(listener.ends, 1);
  char text[8];
  forest.GetEditText(text, sizeof text);
  EXPECT_STREQ(text, "b");
  ForestItem item{};
  item.mask = kItemText;
  item.node = a;
  item.text = text;
  item.textMax = sizeof text;
  forest.GetItem(item);
  EXPECT_STREQ(text, "a");

  forest.Delete(b);
  EXPECT_EQ(forest.GetEditControl(), nullptr);
  EXPECT_EQ(forest.EndEditLabelNow(false), 0);
  EXPECT_EQ(listener.ends, 1);
  EXPECT_EQ(forest.SetEditText("x"), 0);
}

TEST(MemoryForest, SwitchesOfPaintingAreCounted) {
  MemoryForest forest(false);
  forest.SetRedraw(false);
  EXPECT_TRUE(forest.RedrawSuspended());
  forest.SetRedraw(true);
  EXPECT_FALSE(forest.RedrawSuspended());
  EXPECT_EQ(forest.RedrawOffCount(), 1);
  EXPECT_EQ(forest.RedrawOnCount(), 1);
}

TEST(MemoryForest, DragImagesAreReleased) {
  MemoryForest forest(false);
  int dummy = 0;
  forest.SetImageList(ImageListKind::kNormal, &dummy);
  Node a = Add(forest, kRootNode);
  Handle first = forest.CreateDragImage(a);
  Handle second = forest.CreateDragImage(a);
  EXPECT_NE(first, second);
  EXPECT_EQ(forest.DragImagesAlive(), 2);
  forest.DestroyDragImage(first);
  forest.DestroyDragImage(second);
  EXPECT_EQ(forest.DragImagesAlive(), 0);
}

// A hundred thousand siblings, walked both ways through the visible rows:
// quadratic costs would not finish.
TEST(MemoryForest, BigFlatTreesStayCheapToWalk) {
  MemoryForest forest(true);
  const int count = 100000;
  Node last = nullptr;
  for (int i = 0; i < count; ++i) last = Add(forest, kRootNode);
  EXPECT_EQ(forest.Count(), static_cast<unsigned>(count));
  EXPECT_EQ(forest.GetNext(nullptr, Relation::kLastVisible), last);
  int walked = 0;
  for (Node at = last; at; at = forest.GetNext(at, Relation::kPreviousVisible)) ++walked;
  EXPECT_EQ(walked, count);
  Node first = forest.GetNext(nullptr, Relation::kRoot);
  // Selecting rows near the view scrolls in steps proportional to the move.
  for (Node at = first; at && walked > count - 2000;
       at = forest.GetNext(at, Relation::kNextVisible), --walked)
    ASSERT_TRUE(forest.Select(at, Relation::kCaret));
  ASSERT_TRUE(forest.Delete(kRootNode));
  EXPECT_EQ(forest.Count(), 0u);
}

// A chain 100,000 deep and a 10,000-node subtree: deletion must neither
// recurse nor rescan the tree.
TEST(MemoryForest, DeepChainsAndBigSubtreesDelete) {
  MemoryForest forest(false);
  Node top = Add(forest, kRootNode);
  Node at = top;
  for (int i = 0; i < 100000; ++i) at = Add(forest, at);
  Node wide = Add(forest, kRootNode);
  for (int i = 0; i < 10000; ++i) Add(forest, wide);
  Node keep = Add(forest, kRootNode);
  ASSERT_TRUE(forest.Select(keep, Relation::kCaret));
  ASSERT_TRUE(forest.Delete(top));
  ASSERT_TRUE(forest.Delete(wide));
  EXPECT_EQ(forest.Count(), 1u);
  EXPECT_EQ(SelectedNode(forest), keep);
  for (int i = 0; i < 1000; ++i) at = Add(forest, i ? at : keep);
}

}  // namespace

namespace {

TEST(MemoryForest, ACaretMovedByADeletionIsInView) {
  MemoryForest forest(false);
  forest.SetClientSize(100, 3 * MemoryForest::kRowHeight);
  Node parent = Add(forest, kRootNode);
  std::vector<Node> children;
  for (int i = 0; i < 8; ++i) children.push_back(Add(forest, parent));
  EXPECT_EQ(forest.GetNext(kRootNode, Relation::kNextVisible), parent);
  ASSERT_TRUE(forest.Select(children[7], Relation::kCaret));
  ASSERT_TRUE(forest.Select(children[7], Relation::kFirstVisible));
  // The last child goes: the caret climbs to the parent, rows above.
  ASSERT_TRUE(forest.Delete(children[7]));
  EXPECT_EQ(SelectedNode(forest), parent);
  Rect r;
  ASSERT_TRUE(forest.GetItemRect(parent, false, &r));
  EXPECT_GE(r.top, 0);
  EXPECT_LE(r.bottom, forest.ClientRect().bottom);
}

}  // namespace
