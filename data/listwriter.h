// Writing a task tree as a list file.
#pragma once

#include <string>

#include "base/forest.h"

// The file's bytes for a tree. Lists and Active write link keys; the keys
// are the Active nodes' positions in tree order, counted from 1.
std::string FormatListFile(TaskForest& tree);
