// The trees as text: the clipboard's copies and the e-mail alert's body.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "base/forest.h"

// Clipboard text: one line per node, tab-indented by depth, CR LF after
// each. start none means the whole tree.
size_t TreeTextLength(TaskForest& tree, Node start, int depth);
// The buffer must hold TreeTextLength + 1 characters; the text is always
// terminated.
size_t WriteTreeText(TaskForest& tree, Node start, int depth, char* buffer);
// The same, writing at most size - 1 characters (a node is cut, never a
// character beyond the buffer written).
size_t WriteTreeText(TaskForest& tree, Node start, int depth, char* buffer, size_t size);
int CopyText(TaskForest& tree, Node node);
int CopyAllText(TaskForest& tree);

// The e-mail alert of a task that has auto-activated: the subject "Velkin
// Task Activation: " and the task's name (at most 291 characters), and the
// text of the whole Active tree, the task's new copy included.
struct ActivationAlert {
  std::string subject;
  std::string body;
};
extern const char kActivationAlertPrefix[];  // "Velkin Task Activation: "
// For the Lists node `node`; 0 when there is no node.
int BuildActivationAlert(TaskForest& lists, Node node, ActivationAlert* alert);
// The same for a task whose name was read before.
void BuildActivationAlertFor(const char* name, ActivationAlert* alert);
// The one alert of a check that activated several tasks with e-mail: the
// subject names their number ("3 tasks became active"), the body lists
// their names, one a line, before the Active tree's text.
void BuildCatchUpAlert(const std::vector<std::string>& names, ActivationAlert* alert);
