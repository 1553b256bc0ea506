// Random sequences of the organiser's commands: the same seed gives the
// same steps, and a step finds its nodes by their place in tree order, so
// that the in-memory forest and the real tree-view can be given the same
// work and what they save compared byte for byte.
#pragma once

#include <cstdint>
#include <string>
#include <vector>
#include "fakes/scriptedprompts.h"

class ScriptedPrompts;

enum class Command {
  kNewTask,     // Enter, or "New Task" / "New Folder" on the menu
  kNewSubtask,  // Tab
  kRename,      // a click on the label, then a name typed (or Esc)
  kActivate,    // as the activation check does
  kDeactivate,  // "Deactivate" on the Active menu
  kSpace,       // Space: activation in Lists, the hidden check in Active
  kComplete,    // Shift, answering the question for a subtree
  kRestore,     // Shift in Done
  kDelete,      // Delete, answering the question
  kCut,         // Ctrl+X
  kPasteBelow,  // Ctrl+B, or the menu over empty space (no node)
  kPasteInto,   // Ctrl+V
  kExpand,      // Right
  kCollapse,    // Left
  kBold,        // Ctrl+H
  kMove,        // a drag of the node of `pick` dropped on the row of `place`
  kSchedule,    // Properties, OK: auto-activation set (`yes`) at a moment from `place`, or cleared
  kCheck,       // the minute's activation check
};

struct Step {
  Command command;
  int tree;          // 0 Lists, 1 Active, 2 Done
  uint32_t pick;     // the node: its index in tree order modulo (count + 1); count means none
  uint32_t place;    // a second node, the same way (for moves)
  std::string text;  // the name typed
  bool cancel;       // the label edit ends with Esc
  bool yes;          // the answer to a question the command asks
};

std::vector<Step> GenerateSequence(uint32_t seed);
// Runs the step on the trees of the application state, whose prompts are
// `prompts` (the step's answer is queued there). Says what it did, naming
// the node it found.
std::string ApplyStep(const Step& step, ScriptedPrompts& prompts);
// What must hold after any command: every Lists record in the register
// and no other, links that name each other across Lists and Active with
// the Lists task checked, Active two levels deep, no record carried by two
// nodes, and the activation check's schedule finding, now and at any
// later moment, exactly the tasks a walk of the register finds due. Empty
// when all holds, else what does not.
std::string CheckInvariants();
