// The keys the three task trees answer.
#pragma once

#include "base/forest.h"

// Virtual-key codes the trees answer, with their Win32 values.
enum : unsigned {
  kKeyTab = 0x09,
  kKeyReturn = 0x0D,
  kKeyShift = 0x10,
  kKeyEscape = 0x1B,
  kKeySpace = 0x20,
  kKeyLeft = 0x25,
  kKeyUp = 0x26,
  kKeyRight = 0x27,
  kKeyDown = 0x28,
  kKeyDelete = 0x2E,
  kKeyF3 = 0x72,
  kKeyF5 = 0x74,
};

// Keys: true when handled (the control must not see the key).
bool HandleTreeKey(TaskForest& tree, Node selected, unsigned key, bool control);
// Up and Down: the previous or next visible node, scrolled into the view.
void MoveSelection(TaskForest& tree, Node selected, bool up);
