// Text pasted back as tasks: one task a non-empty line, the line's indent
// giving its depth. Reads what Copy Text writes (tab-indented lines) and
// Markdown lists ("- ", "* ", "- [ ] ", "- [x] " with two- or four-space
// indents).
#pragma once

#include <string>
#include <vector>

#include "base/forest.h"

struct TaskLine {
  int depth;         // 0 for the text's top lines
  std::string name;  // cleaned and cut to the name limit
};

// The lines of `text` as tasks, in order. Empty and blank lines are
// skipped; the first line stands at depth 0 and no line is more than one
// level deeper than the one before it.
std::vector<TaskLine> ParseTaskLines(const char* text);

// Inserts the lines as tasks of the Lists tree where a paste puts a cut
// task: the top lines as the first children of `target` (into) or right
// after it (below), the others under them; with no target, after the last
// top-level task. Top-level tasks are bold, as New Task makes them. Answers
// the number of tasks made.
int PasteTaskLines(TaskForest& tree, Node target, bool into, const std::vector<TaskLine>& lines);

// Ctrl+V and the Paste commands with no cut pending: the clipboard's text
// as tasks, in the Lists tree only. 1 when tasks were made.
int PasteClipboardText(TaskForest& tree, Node target, bool into);
// Whether a Paste command with no cut pending has text to paste here.
bool CanPasteClipboardText(TaskForest& tree);
