// Find as you type: every task of Lists, Active and Done taken once into a
// flat index, which each keystroke then filters without touching the trees
// (a walk of the real tree-view is slow at 100,000 items).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/forest.h"

struct FoundTask {
  int tab;  // 0 Lists, 1 Active, 2 Done
  Node node;
};

struct TaskIndex {
  struct Entry {
    Node node;
    int parent;  // index of the parent's entry, -1 at the top level
    int tab;
    size_t offset;  // of the name in `names` and `folded`
    size_t length;
    uint64_t serial;  // of its record
  };
  std::vector<Entry> entries;
  std::string names;          // every name, one after the other
  std::string folded;         // the same, folded for comparison
  unsigned long removals[3];  // of each forest when it was taken
  unsigned counts[3];
};

// Folds a Windows-1252 character as case-insensitive comparison needs.
char FoldCase(char c);
// Folds the program's text so (UTF-8, or the legacy code page as
// Windows-1252), keeping every character's length in bytes.
void FoldText(std::string* text);

// Takes the three trees of the application state into `index`.
void BuildTaskIndex(TaskIndex* index);
// Whether the trees still hold the tasks the index holds: nothing was
// added or removed since (a rename is not seen).
bool TaskIndexIsCurrent(const TaskIndex& index);
// The tasks whose name holds `query` (case-insensitive, anywhere), in tab
// and tree order, at most `limit`. An empty query matches nothing. Answers
// the number of matches, which may exceed what was kept.
size_t FilterTasks(const TaskIndex& index, const char* query, size_t limit, std::vector<size_t>* matches);
// "Lists: Work > Prepare the workshop > Slides".
std::string FoundTaskLabel(const TaskIndex& index, size_t entry);
// The tab's forest and node of an entry, or a tab of -1 when the node is
// gone from its tree since the index was taken.
FoundTask LocateFoundTask(const TaskIndex& index, size_t entry);
