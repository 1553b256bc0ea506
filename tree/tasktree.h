// Task trees built on the forest: nodes with their records, subtree copies
// and the links between a Lists task and its copy in Active.
#pragma once

#include <cstddef>
#include <string>

#include "app/platform.h"
#include "tree/forest.h"

struct TaskRecord;

// A name's longest form: every reading takes at most this many characters.
constexpr int kMaxNameLength = 259;

// Names never hold "<" or ">", which the list files cannot carry: they
// become the single guillemets of Windows-1252 (0x8B and 0x9B), which read
// the same to a person. Cuts to kMaxNameLength.
std::string CleanTaskName(const char* name);

// Inserts a node with a fresh record stamped now; registers the record
// when the forest is the Lists tree. None on failure (nothing is leaked).
Node InsertTask(TaskForest& tree, Node parent, Node after, const char* name);
int ToggleBold(TaskForest& tree, Node node);
int GetTaskName(TaskForest& tree, Node node, char* buffer, size_t size);
std::string TaskName(TaskForest& tree, Node node);
int TaskNameLength(TaskForest& tree, Node node);
TaskRecord* RecordOf(TaskForest& tree, Node node);
int SetTaskName(TaskForest& tree, Node node, const char* text);
bool IsExpanded(TaskForest& tree, Node node);
unsigned CheckStateOf(TaskForest& tree, Node node);
int SetUnchecked(TaskForest& tree, Node node);
int ToggleChecked(TaskForest& tree, Node node);

// Pre-order over the node's subtree: the node, then each child's subtree.
template <typename Action>
void ForEachInSubtree(TaskForest& tree, Node node, Action&& action) {
  if (!node) return;
  Node at = node;
  do {
    action(at);
    at = NextInTreeOrder(tree, at, node);
  } while (at);
}
// Pre-order over every top-level subtree.
template <typename Action>
void ForEachNode(TaskForest& tree, Action&& action) {
  for (Node top = FirstChild(tree, kRootNode); top; top = NextSibling(tree, top))
    ForEachInSubtree(tree, top, action);
}

Node CopySubtree(TaskForest& destination, TaskForest& source, Node node, Node parent, Node after);
void Relink(TaskForest& tree, Node node);
Node CopyAndRelink(TaskForest& destination, TaskForest& source, Node node, Node parent, Node after);

// Turns the link keys read from the list files back into node links between
// the Lists and Active trees of the application state.
void ResolveLinks();

// Geometry of the expand box drawn after a node is painted.
struct ExpandBox {
  bool drawn;        // false: no box for this node
  int centerX;
  int centerY;
  bool plus;         // collapsed: a plus; expanded: a minus
};
ExpandBox ExpandBoxFor(const Rect& textRect, int level, bool hasChildren, bool expanded,
                       bool checkBoxes);

// Deletes the node with its subtree and frees every record it carried,
// taking each out of the register; partners are not touched.
int DeleteTaskSubtree(TaskForest& tree, Node node);
// Empties the tree and frees the records its nodes carried (each once).
void ClearTaskTree(TaskForest& tree);
