#include "tree/dispatch.h"

#include "tree/commands.h"
#include "tree/tasktree.h"
#include "tree/treemenu.h"
#include "tree/treetext.h"

namespace {

Node LastTopLevel(TaskForest& tree) {
  Node last = nullptr;
  for (Node at = FirstChild(tree, kRootNode); at; at = NextSibling(tree, at)) last = at;
  return last;
}

}  // namespace

int DispatchTreeCommand(TaskForest& tree, Node target, int command) {
  switch (command) {
    case kCmdNewTask:
      return NewTask(tree, target, false);
    case kCmdNewSubtask:
      return NewTask(tree, target, true);
    case kCmdCut:
      return CutTask(tree, target);
    case kCmdPasteBelow:
      // Over empty space in Lists: after the last folder.
      if (!target && KindOf(tree) == TreeKind::kLists && CurrentCut().tree == &tree)
        target = LastTopLevel(tree);
      return PasteTask(tree, target, false);
    case kCmdPasteInto:
      return PasteTask(tree, target, true);
    case kCmdToggleActivation:
      return ToggleActivation(tree, target);
    case kCmdComplete:
      return CompleteTask(tree, target);
    case kCmdDelete:
      return DeleteTask(tree, target);
    case kCmdRestore:
      return RestoreTask(tree, target);
    case kCmdProperties:
      return ShowProperties(tree, target);
    case kCmdCopyText:
      return CopyText(tree, target);
    case kCmdCopyAllText:
      return CopyAllText(tree);
    case kCmdRename:
      return RenameTask(tree, target);
    default:
      return 0;
  }
}
