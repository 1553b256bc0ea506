// The list files: list.xml, active.xml and done.xml, one per task tree, in
// the program's own XML-like dialect.
#pragma once

#include <string>

#include "tree/forest.h"

extern const char* const kListFileNames[3];  // "list.xml", "active.xml", "done.xml"

// The file's bytes for a tree. Lists and Active write link keys; the keys
// are the Active nodes' positions in tree order, counted from 1.
std::string FormatListFile(TaskForest& tree);
// Reads a file's bytes into the tree (emptied first). Messages go through
// ShowWarning. 1 when the file was read to its "</list>".
int ParseListFile(TaskForest& tree, const char* bytes, size_t size);

int SaveTree(TaskForest& tree, const std::string& path);
int LoadTree(TaskForest& tree, const std::string& path);
// The three trees of the application state, in the order list.xml,
// active.xml, done.xml, stopping at the first failure.
int SaveLists(const char* folderName);
int LoadLists(const char* folderName);
