#include "base/forest.h"

Node ParentOf(TaskForest& forest, Node node) {
  return forest.GetNext(node, Relation::kParent);
}

Node FirstChild(TaskForest& forest, Node node) {
  return forest.GetNext(node, Relation::kChild);
}

Node NextSibling(TaskForest& forest, Node node) {
  return forest.GetNext(node, Relation::kNext);
}

Node PreviousSibling(TaskForest& forest, Node node) {
  return forest.GetNext(node, Relation::kPrevious);
}

Node SelectedNode(TaskForest& forest) {
  return forest.GetNext(nullptr, Relation::kCaret);
}

int LevelOf(TaskForest& forest, Node node) {
  int level = 0;
  for (Node up = ParentOf(forest, node); up; up = ParentOf(forest, up)) ++level;
  return level;
}

bool IsInSubtree(TaskForest& forest, Node node, Node root) {
  if (!root) return false;
  for (Node at = node; at; at = ParentOf(forest, at))
    if (at == root) return true;
  return false;
}

Node NextInTreeOrder(TaskForest& forest, Node node, Node stop) {
  if (!node) return nullptr;
  if (Node child = FirstChild(forest, node)) return child;
  // No children: the next sibling of the nearest ancestor that has one,
  // without leaving the subtree of `stop`.
  for (Node at = node; at && at != stop; at = ParentOf(forest, at))
    if (Node next = NextSibling(forest, at)) return next;
  return nullptr;
}

bool ContainsNode(TaskForest& forest, Node node) {
  if (!node || node == kRootNode) return false;
  for (Node at = FirstChild(forest, kRootNode); at; at = NextInTreeOrder(forest, at, nullptr))
    if (at == node) return true;
  return false;
}
