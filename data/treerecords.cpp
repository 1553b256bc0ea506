#include "data/treerecords.h"

#include <algorithm>
#include <vector>

TaskRecord* RecordOf(TaskForest& tree, Node node) {
  if (!node) return nullptr;
  ForestItem item{};
  item.mask = kItemRecord;
  item.node = node;
  if (!tree.GetItem(item)) return nullptr;
  return item.record;
}

int DeleteTaskSubtree(TaskForest& tree, Node node) {
  if (!node) return 0;
  std::vector<TaskRecord*> records;
  ForEachInSubtree(tree, node, [&](Node at) {
    if (TaskRecord* record = RecordOf(tree, at)) records.push_back(record);
  });
  // Records go only once their nodes are gone, so that no node ever points
  // at a freed record; a failed delete keeps them both.
  if (!tree.Delete(node)) return 0;
  for (TaskRecord* record : records) FreeTaskRecord(record);
  return 1;
}

void ClearTaskTree(TaskForest& tree) {
  std::vector<TaskRecord*> records;
  records.reserve(tree.Count());
  ForEachNode(tree, [&](Node node) {
    if (TaskRecord* record = RecordOf(tree, node)) records.push_back(record);
  });
  // Records whose nodes stay must not be freed.
  if (!tree.Delete(kRootNode)) return;
  // A record carried twice must still be freed once.
  std::sort(records.begin(), records.end());
  records.erase(std::unique(records.begin(), records.end()), records.end());
  for (TaskRecord* record : records) FreeTaskRecord(record);
}
