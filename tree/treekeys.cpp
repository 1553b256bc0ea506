#include "tree/treekeys.h"

#include "base/prompts.h"
#include "data/listset.h"
#include "tree/commands.h"
#include "tree/tasktree.h"
#include "tree/treetext.h"

bool HandleTreeKey(TaskForest& tree, Node selected, unsigned key, bool control) {
  const TreeKind kind = KindOf(tree);
  switch (key) {
    case kKeyReturn:
      if (kind == TreeKind::kLists || kind == TreeKind::kActive) NewTask(tree, selected, false);
      return true;
    case kKeyTab:
      if (kind == TreeKind::kLists) NewTask(tree, selected, true);
      return true;
    case kKeySpace:
      // In Active, Space deactivates, as the Active menu shows beside its
      // Deactivate.
      if (kind == TreeKind::kLists || kind == TreeKind::kActive) ToggleActivation(tree, selected);
      return true;
    case kKeyShift:
      if (kind == TreeKind::kDone)
        RestoreTask(tree, selected);
      else
        CompleteTask(tree, selected);
      return true;
    case kKeyDelete:
      DeleteTask(tree, selected);
      return true;
    case kKeyEscape:
      if (TreeHost* host = Host()) host->CloseMainWindow();
      return true;
    case kKeyLeft:
    case kKeyRight:
      if (selected)
        ExpandNode(tree, selected, key == kKeyLeft ? ExpandAction::kCollapse : ExpandAction::kExpand);
      return true;
    case kKeyUp:
    case kKeyDown:
      MoveSelection(tree, selected, key == kKeyUp);
      return true;
    case kKeyF5:
      if (TreeHost* host = Host()) host->RunActivationCheck();
      return true;
    case kKeyF3:
      if (TreeHost* host = Host()) host->OpenFind();
      return true;
    default:
      break;
  }
  if (!control) return false;
  switch (key) {
    case 'A':
      CopyAllText(tree);
      return true;
    case 'B':
      PasteTask(tree, selected, false);
      return true;
    case 'C':
      CopyText(tree, selected);
      return true;
    case 'E':
      if (TreeHost* host = Host()) host->OpenFind();
      return true;
    case 'F':
      if (TreeHost* host = Host()) host->SelectNextTab();
      return true;
    case 'H':
      if (selected) ToggleBold(tree, selected);
      return true;
    case 'S':
      // Said as on closing: otherwise the user believes the edits are safe.
      if (!SaveLists("current")) ShowWarning(kListsNotSaved);
      if (TreeHost* host = Host()) host->SaveSettings();
      return true;
    case 'V':
      PasteTask(tree, selected, true);
      return true;
    case 'X':
      CutTask(tree, selected);
      return true;
    default:
      return false;
  }
}

void MoveSelection(TaskForest& tree, Node selected, bool up) {
  Rect row{};
  if (up) {
    if (selected == FirstChild(tree, kRootNode)) return;
    Node previous = tree.GetNext(selected, Relation::kPreviousVisible);
    if (!previous) return;
    if (!tree.GetItemRect(previous, false, &row) || row.top < 0) {
      if (TreeHost* host = Host()) host->ScrollLine(tree, true);
    }
    tree.Select(previous, Relation::kCaret);
  } else {
    if (selected == tree.GetNext(nullptr, Relation::kLastVisible)) return;
    Node next = tree.GetNext(selected, Relation::kNextVisible);
    if (!next) return;
    if (!tree.GetItemRect(next, false, &row) || row.bottom > tree.ClientRect().bottom) {
      if (TreeHost* host = Host()) host->ScrollLine(tree, false);
    }
    tree.Select(next, Relation::kCaret);
  }
}
