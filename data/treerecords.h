// The records carried by a tree's nodes: reading them, and releasing them
// together with their nodes.
#pragma once

#include "base/forest.h"
#include "base/taskrecord.h"

// The record the node carries; none for no node or no record.
TaskRecord* RecordOf(TaskForest& tree, Node node);
// Deletes the node with its subtree and frees every record it carried,
// taking each out of the register; partners are not touched.
int DeleteTaskSubtree(TaskForest& tree, Node node);
// Empties the tree and frees the records its nodes carried (each once).
void ClearTaskTree(TaskForest& tree);
