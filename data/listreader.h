// Reading a list file into a task tree: a tokeniser of the file's tags and
// a reader that takes each element in its fixed order, reporting what it
// finds wrong and keeping whatever it could read.
#pragma once

#include <cstddef>

#include "base/forest.h"

// Reads a file's bytes into the tree (emptied first). Messages go through
// ShowWarning. 1 when the file was read to its "</list>".
int ParseListFile(TaskForest& tree, const char* bytes, size_t size);
