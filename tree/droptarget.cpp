#include "tree/droptarget.h"

#include "base/prompts.h"
#include "tree/commands.h"
#include "tree/tasktree.h"

namespace {

// The band along each edge of the view in which a drag scrolls.
constexpr int kScrollBand = 20;

constexpr DropTarget kNoDrop = {nullptr, DropMode::kNone};

struct Choice {
  DropNode target;
  DropMode mode;
};

// The table of places: which node the drop goes into or after.
Choice ChooseByPlace(const DropFacts& f) {
  if (!f.hit.node) {
    if (f.belowLastRow && f.lastVisible.node) return {f.lastVisible, DropMode::kAfter};
    return {{nullptr, false}, DropMode::kNone};
  }
  if (f.rowHeight <= 0) return {{nullptr, false}, DropMode::kNone};
  // offset > h / 4 and offset < 3h / 4, exactly, in integers.
  const bool upper = 4 * f.offset <= f.rowHeight;
  const bool lower = 4 * f.offset >= 3 * f.rowHeight;
  if (!upper && !lower) return {f.hit, DropMode::kInto};
  if (lower) return {f.hit, f.hitOpen ? DropMode::kInto : DropMode::kAfter};
  if (f.previous.node) return {f.previous, DropMode::kAfter};
  if (f.parent.node) return {f.parent, DropMode::kInto};
  return {{kRootNode, false}, DropMode::kInto};
}

// Active holds folders at the top and tasks directly under them.
bool KeepsTwoLevels(const Choice& choice, bool draggedNested) {
  if (choice.target.node == kRootNode) return !draggedNested;
  if (choice.mode == DropMode::kInto) return !choice.target.nested && draggedNested;
  return choice.target.nested == draggedNested;
}

DropNode Describe(TaskForest& tree, Node node) {
  return {node, node && ParentOf(tree, node) != nullptr};
}

}  // namespace

DropTarget ChooseDropTarget(const DropFacts& facts) {
  const Choice choice = ChooseByPlace(facts);
  if (choice.mode == DropMode::kNone || !facts.dragged.node) return kNoDrop;
  if (choice.target.node == facts.dragged.node) return kNoDrop;
  if (facts.twoLevels && !KeepsTwoLevels(choice, facts.dragged.nested)) return kNoDrop;
  return {choice.target.node, choice.mode};
}

DropTarget FindDropTarget(TaskForest& tree, Node dragged, Point point, Node* hit) {
  DropFacts facts{};
  facts.dragged = Describe(tree, dragged);
  facts.twoLevels = KindOf(tree) == TreeKind::kActive;
  unsigned flags = 0;
  Node under = tree.HitTest(point, &flags);
  if (hit) *hit = under;
  Rect row{};
  if (under && tree.GetItemRect(under, false, &row)) {
    facts.hit = Describe(tree, under);
    facts.offset = point.y - row.top;
    facts.rowHeight = row.bottom - row.top;
    facts.hitOpen = IsExpanded(tree, under) && FirstChild(tree, under);
    facts.previous = Describe(tree, PreviousSibling(tree, under));
    facts.parent = Describe(tree, ParentOf(tree, under));
  } else if (!under && (flags & kHitNowhere)) {
    facts.belowLastRow = true;
    facts.lastVisible = Describe(tree, tree.GetNext(nullptr, Relation::kLastVisible));
  }
  DropTarget target = ChooseDropTarget(facts);
  if (target.mode == DropMode::kNone) return target;
  Node parent = target.mode == DropMode::kInto ? target.node : ParentOf(tree, target.node);
  if (parent != kRootNode && IsInSubtree(tree, parent, dragged)) return kNoDrop;
  return target;
}

Node DropMarkFor(const DropTarget& target, Node hit) {
  return target.mode == DropMode::kInto && hit && target.node == hit ? hit : nullptr;
}

DragScroll DragScrollFor(int y, int top, int bottom) {
  if (y > bottom - kScrollBand) return DragScroll::kDown;
  if (y < top + kScrollBand) return DragScroll::kUp;
  return DragScroll::kNone;
}

int DropTask(TaskForest& tree, Node dragged, DropTarget target) {
  if (!dragged || !target.node || target.mode == DropMode::kNone) return 0;
  // Asked before the move, while the old nodes can still be walked.
  const PendingCut cut = CurrentCut();
  const bool cutMoves = cut.tree == &tree && IsInSubtree(tree, cut.node, dragged);
  switch (MoveSubtree(tree, dragged, target.node, target.mode == DropMode::kInto)) {
    case MoveResult::kMoved:
      // The cut named a node that is gone: a paste must not move it again.
      if (cutMoves) ClearCut();
      return 1;
    case MoveResult::kNotDeleted:
      ShowWarning("DragDrop: DeleteItem failed");
      return 0;
    case MoveResult::kNotCopied:
    default:
      return 0;
  }
}
