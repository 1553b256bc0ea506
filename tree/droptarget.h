// The drop of a task dragged in the Lists or Active tree: where it lands,
// decided from the pointer's place within the row under it, the row marked
// while the pointer moves, the scrolling near the edges, and the move.
#pragma once

#include "base/forest.h"
#include "base/platform.h"

// Into puts the dragged node first under the target; after puts it right
// behind the target, under the target's parent. kNone moves nothing.
enum class DropMode { kNone, kInto, kAfter };

struct DropTarget {
  Node node;  // kRootNode: the top level (always into)
  DropMode mode;
};

// A node as the drop rules see it.
struct DropNode {
  Node node;    // none: there is no such node
  bool nested;  // it has a parent (in Active: a task rather than a folder)
};

// What the drop rules need to know of the place under the pointer.
struct DropFacts {
  DropNode dragged;
  bool twoLevels;     // the Active tree: folders, and tasks directly under them
  DropNode hit;       // the node under the pointer, or none
  bool belowLastRow;  // nothing hit because the point is below the last row
  int offset;         // from the top of the hit node's row down to the pointer
  int rowHeight;
  bool hitOpen;          // the hit node is expanded and has a child
  DropNode previous;     // the hit node's previous sibling
  DropNode parent;       // the hit node's parent
  DropNode lastVisible;  // for a drop below the last row
};

// The drop rules: the middle half of a row drops into its node, the upper
// quarter before it (after its previous sibling, or first under its
// parent), the lower quarter after it (or first under it when it is
// expanded with children); below the last row, after the last visible
// node. A drop onto the dragged node itself, and in Active one that would
// mix folders and tasks, moves nothing.
DropTarget ChooseDropTarget(const DropFacts& facts);

// The same for a point in the tree's client coordinates, with the facts
// read from the tree. A target within the dragged node's own subtree moves
// nothing either. `hit` receives the node under the point.
DropTarget FindDropTarget(TaskForest& tree, Node dragged, Point point, Node* hit);

// The node marked as drop target while the pointer moves: only a node the
// drop would put the dragged node into, and only while it is under the
// pointer; none otherwise.
Node DropMarkFor(const DropTarget& target, Node hit);

// Scrolling during a drag: up while the pointer is within 20 pixels below
// the view's top edge, down within 20 pixels above its bottom edge (y, top
// and bottom measured alike).
enum class DragScroll { kNone, kUp, kDown };
DragScroll DragScrollFor(int y, int top, int bottom);

// Moves the dragged node with its subtree to the target, keeping the links
// and check states it carries; a pending cut of a moved node is forgotten.
// 1 when it moved. Says "DragDrop: DeleteItem failed" when the node could
// not be taken from its old place (nothing moves then).
int DropTask(TaskForest& tree, Node dragged, DropTarget target);
