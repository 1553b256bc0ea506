// The trees' pop-up menus: their commands and which are greyed.
#pragma once

#include "base/forest.h"

// Menu command ids.
enum TreeCommand : int {
  kCmdNewTask = 501,
  kCmdNewSubtask = 502,
  kCmdCut = 503,
  kCmdPasteBelow = 504,
  kCmdPasteInto = 505,
  kCmdToggleActivation = 506,
  kCmdComplete = 507,
  kCmdDelete = 508,
  kCmdRestore = 509,
  kCmdProperties = 510,
  kCmdCopyText = 511,
  kCmdCopyAllText = 512,
  kCmdRename = 513,
};

// The pop-up menu for a right click: the resource to load (none: no menu)
// and which commands are greyed.
struct TreeMenu {
  const char* resource;
  bool greyed[14];  // indexed by command id - 500
};
TreeMenu MenuFor(TaskForest& tree, Node target);
bool IsGreyed(const TreeMenu& menu, int command);
