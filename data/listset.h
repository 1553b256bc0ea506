// The set of list files: list.xml, active.xml and done.xml, one per task
// tree, saved and loaded together from a folder of the data folder, with
// the files that were not read completely kept aside before a save first
// replaces them.
#pragma once

#include <string>

#include "base/forest.h"

extern const char* const kListFileNames[3];  // "list.xml", "active.xml", "done.xml"
// What a save that failed says.
extern const char kListsNotSaved[];  // "Error: Could not save the lists!"

int SaveTree(TaskForest& tree, const std::string& path);
int LoadTree(TaskForest& tree, const std::string& path);
// The three trees of the application state, in the order list.xml,
// active.xml, done.xml, stopping at the first failure.
int SaveLists(const char* folderName);
int LoadLists(const char* folderName);
