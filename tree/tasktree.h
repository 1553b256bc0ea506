// Task trees built on the forest: nodes with their records, subtree copies
// and the links between a Lists task and its copy in Active.
#pragma once

#include <cstddef>
#include <string>

#include "base/forest.h"
#include "base/platform.h"
#include "data/treerecords.h"

struct TaskRecord;

// Names never hold "<" or ">", which the list files cannot carry: they
// become the single guillemets "‹" and "›" (Windows-1252's 0x8B and 0x9B
// where the program's texts are in that code page), which read the same to
// a person. Cuts to kMaxNameLength characters, never inside one.
std::string CleanTaskName(const char* name);

// Inserts a node with a fresh record stamped now; registers the record
// when the forest is the Lists tree. None on failure (nothing is leaked).
Node InsertTask(TaskForest& tree, Node parent, Node after, const char* name);
int ToggleBold(TaskForest& tree, Node node);
int GetTaskName(TaskForest& tree, Node node, char* buffer, size_t size);
std::string TaskName(TaskForest& tree, Node node);
int TaskNameLength(TaskForest& tree, Node node);
int SetTaskName(TaskForest& tree, Node node, const char* text);
bool IsExpanded(TaskForest& tree, Node node);
unsigned CheckStateOf(TaskForest& tree, Node node);
int SetUnchecked(TaskForest& tree, Node node);
int ToggleChecked(TaskForest& tree, Node node);

Node CopySubtree(TaskForest& destination, TaskForest& source, Node node, Node parent, Node after);
void Relink(TaskForest& tree, Node node);
Node CopyAndRelink(TaskForest& destination, TaskForest& source, Node node, Node parent, Node after);

// Moves a node with its subtree within its tree: into `target` as its first
// child (the target is then expanded) or right after it, under its parent.
// The records travel with the copy and the links follow the moved nodes.
// Nothing moves when the copy is refused (a target within the node's own
// subtree) or fails, nor when the node cannot be deleted after it: then the
// copy is taken back, so that no two nodes carry the same records.
enum class MoveResult { kMoved, kNotCopied, kNotDeleted };
MoveResult MoveSubtree(TaskForest& tree, Node node, Node target, bool into);

// Turns the link keys read from the list files back into node links between
// the Lists and Active trees of the application state.
void ResolveLinks();

// Geometry of the expand box drawn after a node is painted: a square of
// 2 * half + 1 pixels around the centre, a sign of 2 * bar + 1, lines of
// `pen` pixels.
struct ExpandBox {
  bool drawn;  // false: no box for this node
  int centerX;
  int centerY;
  bool plus;  // collapsed: a plus; expanded: a minus
  int half;
  int bar;
  int pen;
};
// `rowRect`: the label's left and right, the row's top and bottom.
// `checkWidth`: the width of the row's check box, 0 for none. The box is
// designed at kBaseDpi and grows with `dpi`, and sits in the middle of the
// row's height.
ExpandBox ExpandBoxFor(const Rect& rowRect, int level, bool hasChildren, bool expanded, int checkWidth,
                       int dpi);
