// A pop-up menu command run on its target.
#pragma once

#include "base/forest.h"
#include "tree/treemenu.h"

// Runs `command` (a TreeCommand) on `target`. Answers what the command
// answers, 0 for an unknown command.
int DispatchTreeCommand(TaskForest& tree, Node target, int command);
