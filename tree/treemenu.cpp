#include "tree/treemenu.h"

#include "tree/commands.h"
#include "tree/pastetext.h"
#include "tree/tasktree.h"

TreeMenu MenuFor(TaskForest& tree, Node target) {
  TreeMenu menu{};
  switch (KindOf(tree)) {
    case TreeKind::kLists:
      menu.resource = target ? "ItemPopupMenu" : "WindowPopupMenu";
      break;
    case TreeKind::kActive:
      menu.resource = target ? "ActivePopupMenu" : nullptr;
      break;
    case TreeKind::kDone:
      menu.resource = target ? "DonePopupMenu" : nullptr;
      break;
    default:
      break;
  }
  if (!menu.resource) return menu;
  if (!CurrentCut().node && !CanPasteClipboardText(tree)) {
    menu.greyed[kCmdPasteBelow - 500] = true;
    menu.greyed[kCmdPasteInto - 500] = true;
  }
  if (KindOf(tree) == TreeKind::kActive && !ParentOf(tree, target)) {
    // A folder has no Lists partner to deactivate, complete or show.
    menu.greyed[kCmdToggleActivation - 500] = true;
    menu.greyed[kCmdComplete - 500] = true;
    menu.greyed[kCmdProperties - 500] = true;
  }
  return menu;
}

bool IsGreyed(const TreeMenu& menu, int command) {
  if (command < 500 || command >= 500 + static_cast<int>(sizeof menu.greyed)) return false;
  return menu.greyed[command - 500];
}
