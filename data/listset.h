// The set of list files: list.xml, active.xml and done.xml, one per task
// tree, saved and loaded together from a folder of the data folder.
//
// A save replaces all three files or none, whatever fails and wherever the
// program or the machine stops: the new files are written complete beside
// the old ones ("list.xml.tmp", ...), then a commit record names them
// (commitrecord.h), and only then do they replace the old ones. Loading
// first finishes a save that was committed and discards one that was not.
// A list file the program did not read (absent at start-up, not read
// completely, in another folder, or changed since) is copied aside before
// a save replaces it.
#pragma once

#include <string>

#include "base/forest.h"

extern const char* const kListFileNames[3];  // "list.xml", "active.xml", "done.xml"
// What a save that failed says.
extern const char kListsNotSaved[];  // "Error: Could not save the lists!"
// What a start says whose lists were not read completely: otherwise the
// trees, or the tutorial in an empty Lists tab, would pass for all there is.
extern const char kListsIncomplete[];
// What a save or a start says that kept list files the program had not
// loaded (they appeared after start-up, or were changed since) as
// "*.unread.xml" before they were replaced.
extern const char kListsKept[];

int SaveTree(TaskForest& tree, const std::string& path);
int LoadTree(TaskForest& tree, const std::string& path);
// The three trees of the application state, in the order list.xml,
// active.xml, done.xml. 1 only when all three new files are in place.
int SaveLists(const char* folderName);
// Reads the set into the three trees, stopping at the first file that
// fails; the trees after it are not touched.
int LoadLists(const char* folderName);
