#include "tree/commands.h"

#include <vector>

#include "base/appstate.h"
#include "base/prompts.h"
#include "base/taskrecord.h"
#include "data/datetext.h"
#include "data/listset.h"
#include "tree/pastetext.h"
#include "tree/tasktree.h"

namespace {

// The node's partner in the other tree (its record's link), or none.
Node PartnerOf(TaskForest& tree, Node node) {
  TaskRecord* record = RecordOf(tree, node);
  return record ? record->link : nullptr;
}

// The Lists node a command on a Lists or Active node works on: the node
// itself in Lists, its partner in Active; none elsewhere.
Node ListsNodeOf(TaskForest& tree, Node node) {
  switch (KindOf(tree)) {
    case TreeKind::kLists:
      return node;
    case TreeKind::kActive:
      return PartnerOf(tree, node);
    default:
      return nullptr;
  }
}

TreeHost* gHost = nullptr;
PendingCut gCut = {nullptr, nullptr};

// The node New Task or New Subtask made and the user has not named yet:
// the only node a cancelled label edit takes away again.
struct UnnamedNode {
  TaskForest* tree;
  Node node;
};
UnnamedNode gUnnamed = {nullptr, nullptr};

// Roots of the Active subtrees being removed right now. Removing an Active
// copy takes its Lists partner along, and that partner's descendants take
// their own Active copies; a copy that lies inside an Active removal under
// way is left to that removal, which has not reached it yet.
std::vector<Node> gActiveRemovals;

TaskForest* CurrentView() {
  return gHost ? gHost->CurrentView() : nullptr;
}

void FocusCurrentView() {
  if (gHost) gHost->FocusCurrentView();
}

void Repaint(TaskForest& tree) {
  if (gHost) gHost->RepaintTree(tree);
}

// A node and its record as they were when a question was asked.
struct Asked {
  Node node;
  uint64_t serial;  // of its record
  unsigned long removals;
};
Asked AskingAbout(TaskForest& tree, Node node) {
  TaskRecord* record = RecordOf(tree, node);
  return Asked{node, record ? record->serial : 0, tree.Removals()};
}
// After the question: the user may have removed the node meanwhile (a box
// without owner leaves the tree usable, and timers run under any box). A
// node made since may have the old one's handle, but not its record.
bool StillThere(TaskForest& tree, const Asked& asked) {
  if (tree.Removals() == asked.removals) return true;
  if (!ContainsNode(tree, asked.node)) return false;
  TaskRecord* record = RecordOf(tree, asked.node);
  return (record ? record->serial : 0) == asked.serial;
}

Node TopLevelOf(TaskForest& tree, Node node) {
  for (Node up = ParentOf(tree, node); up; up = ParentOf(tree, up)) node = up;
  return node;
}

Node LastTopLevel(TaskForest& tree) {
  Node last = nullptr;
  for (Node at = FirstChild(tree, kRootNode); at; at = NextSibling(tree, at)) last = at;
  return last;
}

int SetChecked(TaskForest& tree, Node node) {
  ForestItem item{};
  item.mask = kItemState;
  item.node = node;
  item.state = StateImage(kChecked);
  item.stateMask = kStateImageMask;
  return tree.SetItem(item);
}

// The first top-level node, made bold under `name` when the tree is empty.
Node FirstFolder(TaskForest& tree, const char* name) {
  if (Node folder = FirstChild(tree, kRootNode)) return folder;
  Node folder = InsertTask(tree, kRootNode, kFirstNode, name);
  if (folder) ToggleBold(tree, folder);
  return folder;
}

// Deletes an Active node (a linked copy) with whatever it carries. Copies
// below it that are linked leave their Lists partners unchecked and
// unlinked rather than pointing at a node that is gone. `except` is the
// Lists node being removed, which needs no such care.
void DropActiveNode(Node node, Node except) {
  TaskForest* active = App().active;
  TaskForest* lists = App().lists;
  if (!active || !node) return;
  for (Node root : gActiveRemovals) {
    // A node inside a removal under way, or one above it (possible only
    // with links a file made to a folder), is left to that removal or
    // kept: deleting it here would pull the removal's nodes away from it.
    if (IsInSubtree(*active, node, root) || IsInSubtree(*active, root, node)) {
      // The removal under way reaches this node later; it must not come
      // back to the Lists node that goes now.
      if (TaskRecord* record = RecordOf(*active, node)) record->link = nullptr;
      return;
    }
  }
  ForgetCutNode(*active, node);
  ForEachInSubtree(*active, node, [&](Node at) {
    TaskRecord* record = RecordOf(*active, at);
    if (!record || !record->link || record->link == except || !lists) return;
    if (TaskRecord* partner = RecordOf(*lists, record->link)) {
      partner->link = nullptr;
      SetUnchecked(*lists, record->link);
    }
  });
  if (!DeleteTaskSubtree(*active, node)) {
    ShowWarning("Could not delete active item");
    // The copy stays; it must not name a Lists node that goes.
    if (TaskRecord* record = RecordOf(*active, node)) record->link = nullptr;
  }
}

// One node whose children are gone already. 0 when the node itself could
// not be deleted.
int RemoveOne(TaskForest& tree, Node node, bool release) {
  TaskRecord* record = RecordOf(tree, node);
  const TreeKind kind = KindOf(tree);
  bool releaseRecord = release;
  if (kind == TreeKind::kLists) {
    if (record && record->link) {
      DropActiveNode(record->link, node);
      // Should the node itself stay, it must not name a copy that is gone.
      record->link = nullptr;
    }
  } else if (kind == TreeKind::kActive) {
    // Nothing carries an Active record or its Lists partner on: both go.
    releaseRecord = true;
    if (record && record->link && App().lists) {
      TaskForest& lists = *App().lists;
      Node partner = record->link;
      record->link = nullptr;
      // Unlinked first, so that the partner's removal leaves this node to us.
      if (TaskRecord* partnerRecord = RecordOf(lists, partner)) partnerRecord->link = nullptr;
      RemoveSubtree(lists, partner, true);
    }
  }
  if (!tree.Delete(node)) return 0;
  if (gUnnamed.tree == &tree && gUnnamed.node == node) gUnnamed = {nullptr, nullptr};
  if (!record) return 1;
  if (kind == TreeKind::kLists) UnregisterTask(App().tasks, record);
  if (releaseRecord)
    FreeTaskRecord(record);
  else
    record->link = nullptr;
  return 1;
}

// The application state's note of the label edit under way.
void SetLabelEdit(Handle edit) {
  App().labelEdit = edit;
}

}  // namespace

TreeKind KindOf(const TaskForest& tree) {
  const AppState& app = App();
  if (&tree == app.lists) return TreeKind::kLists;
  if (&tree == app.active) return TreeKind::kActive;
  if (&tree == app.done) return TreeKind::kDone;
  return TreeKind::kOther;
}

TreeHost* Host() {
  return gHost;
}
void SetHost(TreeHost* host) {
  gHost = host;
}

PendingCut CurrentCut() {
  return gCut;
}
void ClearCut() {
  gCut = {nullptr, nullptr};
}

void ResetCommands() {
  ClearCut();
  gUnnamed = {nullptr, nullptr};
}

void ForgetCutNode(TaskForest& tree, Node node) {
  if (gCut.tree != &tree || !gCut.node || !node) return;
  if (node == kRootNode || IsInSubtree(tree, gCut.node, node)) ClearCut();
}

int NewTask(TaskForest& tree, Node node, bool subtask) {
  const TreeKind kind = KindOf(tree);
  if (kind == TreeKind::kDone) return 0;
  if (kind == TreeKind::kActive) {
    // Active keeps two levels: Enter there makes a folder.
    if (subtask) return 0;
    if (node) node = TopLevelOf(tree, node);
  }
  Node created;
  if (subtask)
    created = InsertTask(tree, node ? node : kRootNode, kFirstNode, nullptr);
  else if (!node)
    created = InsertTask(tree, kRootNode, kFirstNode, nullptr);
  else {
    Node parent = ParentOf(tree, node);
    created = InsertTask(tree, parent ? parent : kRootNode, node, nullptr);
  }
  if (!created) {
    ShowWarning("InsertItem failed");
    return 0;
  }
  gUnnamed = {&tree, created};
  if (!ParentOf(tree, created)) ToggleBold(tree, created);
  tree.EnsureVisible(created);
  if (!tree.Select(created, Relation::kCaret)) ShowWarning("SelectItem failed!");
  Handle edit = tree.EditLabel(created);
  // A forest that makes its edit only after asking (not the control) has
  // told OnBeginLabelEdit of none.
  if (edit && App().labelEdit != edit) OnBeginLabelEdit(tree, created, edit);
  return 1;
}

int RenameTask(TaskForest& tree, Node node) {
  if (!node) return 0;
  Handle edit = tree.EditLabel(node);
  if (edit && App().labelEdit != edit) OnBeginLabelEdit(tree, node, edit);
  return edit ? 1 : 0;
}

int ToggleActivation(TaskForest& tree, Node node) {
  if (!node) return 0;
  switch (KindOf(tree)) {
    case TreeKind::kActive:
      return DeactivateTask(tree, node);
    case TreeKind::kLists:
      if (CheckStateOf(tree, node) == kUnchecked) return ActivateTask(tree, node);
      return DeactivateTask(tree, node);
    default:
      return 0;
  }
}

int ActivateTask(TaskForest& tree, Node node) {
  TaskForest* lists = App().lists;
  TaskForest* active = App().active;
  if (!node || !lists || !active) return 0;
  node = ListsNodeOf(tree, node);
  if (!node) return 0;
  if (CheckStateOf(*lists, node) != kUnchecked) return 0;
  TaskRecord* record = RecordOf(*lists, node);
  if (!record) return 0;
  if (record->link) {
    // Unchecked but still linked (an edited list file can say so): a live
    // copy is kept and the box checked again, for a second copy would leave
    // two Active nodes naming one task. A link to nothing is dropped.
    TaskRecord* copyRecord = RecordOf(*active, record->link);
    if (copyRecord && copyRecord->link == node) return SetChecked(*lists, node);
    record->link = nullptr;
  }

  Node folder = FirstFolder(*active, "Today");
  std::string name = TaskName(*lists, node);
  Node copy = folder ? InsertTask(*active, folder, kFirstNode, name.c_str()) : nullptr;
  if (!copy) {
    // A checked node without its copy would claim an activation that
    // never happened.
    ShowWarning("InsertItem failed");
    return 0;
  }
  SetChecked(*lists, node);
  active->Expand(folder, ExpandAction::kExpand);
  CopyField(record->activedate, StampNow().c_str());
  record->link = copy;
  if (TaskRecord* copyRecord = RecordOf(*active, copy)) copyRecord->link = node;
  return 1;
}

int DeactivateTask(TaskForest& tree, Node node) {
  TaskForest* lists = App().lists;
  if (!node || !lists) return 0;
  node = ListsNodeOf(tree, node);
  if (!node) return 0;
  if (CheckStateOf(*lists, node) == kUnchecked) return 0;
  SetUnchecked(*lists, node);
  TaskRecord* record = RecordOf(*lists, node);
  if (record && record->link) {
    Node copy = record->link;
    record->link = nullptr;
    DropActiveNode(copy, node);
  }
  return 1;
}

int CompleteTask(TaskForest& tree, Node node) {
  TaskForest* lists = App().lists;
  TaskForest* done = App().done;
  if (!node || !lists || !done) return 0;
  if (KindOf(tree) == TreeKind::kActive && !ParentOf(tree, node)) return 0;  // a folder
  node = ListsNodeOf(tree, node);
  if (!node) return 0;

  if (FirstChild(*lists, node)) {
    const Asked asked = AskingAbout(*lists, node);
    int answer = AskYesNoCancel("Are you sure you want to complete this item and all of its subitems?",
                                App().mainWindow);
    FocusCurrentView();
    if (answer != kAnswerYes || !StillThere(*lists, asked)) return 0;
  }

  TaskForest* view = CurrentView();
  if (view) view->SetRedraw(false);
  Node folder = FirstFolder(*done, "Completed");
  Node copy = folder ? CopySubtree(*done, *lists, node, folder, kFirstNode) : nullptr;
  if (!copy) {
    ShowWarning("Error: Could not copy tree");
    if (view) view->SetRedraw(true);
    return 0;
  }
  // Stamped once the copy stands, so that a failed completion leaves the
  // records as they were. The copy carries the same records.
  const std::string now = StampNow();
  ForEachInSubtree(*done, copy, [&](Node at) {
    if (TaskRecord* record = RecordOf(*done, at)) CopyField(record->completedate, now.c_str());
    SetUnchecked(*done, at);
  });
  RemoveAndReselect(*lists, node, false);
  return 1;
}

int RestoreTask(TaskForest& tree, Node node) {
  TaskForest* lists = App().lists;
  if (!node || !lists || KindOf(tree) != TreeKind::kDone) return 0;
  Node folder = FirstChild(*lists, kRootNode);
  if (!folder) {
    ShowWarning("There are no folders in Lists to restore to.");
    return 0;
  }
  Node copy = CopyAndRelink(*lists, tree, node, folder, kFirstNode);
  if (!copy) {
    ShowWarning("Restore failed!");
    return 0;
  }
  ForgetCutNode(tree, node);
  if (!tree.Delete(node)) {
    // Both would carry the same records: take the copy back.
    lists->Delete(copy);
    Relink(tree, node);
    ShowWarning("Restore failed!");
    return 0;
  }
  ForEachInSubtree(*lists, copy, [&](Node at) {
    // Back in Lists as plain tasks: no activation comes along from Done.
    SetUnchecked(*lists, at);
    if (TaskRecord* record = RecordOf(*lists, at)) {
      record->link = nullptr;
      RegisterTask(App().tasks, record);
    }
  });
  return 1;
}

int DeleteTask(TaskForest& tree, Node node) {
  if (!node) return 0;
  const Asked asked = AskingAbout(tree, node);
  int answer = AskYesNoCancel("Are you sure you want to permanently delete this item?");
  int result = 0;
  if (answer == kAnswerYes && StillThere(tree, asked)) {
    RemoveAndReselect(tree, node, true);
    result = 1;
  }
  FocusCurrentView();
  return result;
}

int CutTask(TaskForest& tree, Node node) {
  if (!node) return 0;
  gCut = {&tree, node};
  return 1;
}

int PasteTask(TaskForest& tree, Node target, bool into) {
  if (!gCut.node) return PasteClipboardText(tree, target, into);
  if (!target || !gCut.tree) return 0;
  if (gCut.tree != &tree) {
    ShowWarning("Error: Cannot move items between tabs.");
    return 0;
  }
  Node cut = gCut.node;
  if (KindOf(tree) == TreeKind::kActive) {
    // Folders at the top, copies directly under them, nothing deeper.
    const bool cutIsFolder = !ParentOf(tree, cut);
    const bool targetIsFolder = !ParentOf(tree, target);
    if (into ? (!targetIsFolder || cutIsFolder) : (cutIsFolder != targetIsFolder)) return 0;
  }
  // A move that failed keeps the cut.
  if (MoveSubtree(tree, cut, target, into) != MoveResult::kMoved) return 0;
  ClearCut();
  return 1;
}

int ShowProperties(TaskForest& tree, Node node) {
  if (!node) return 0;
  TaskRecord* record = nullptr;
  bool editable = true;
  switch (KindOf(tree)) {
    case TreeKind::kActive: {
      TaskRecord* copy = RecordOf(tree, node);
      if (copy && copy->link && App().lists) record = RecordOf(*App().lists, copy->link);
      break;
    }
    case TreeKind::kLists:
      record = RecordOf(tree, node);
      break;
    case TreeKind::kDone:
      record = RecordOf(tree, node);
      editable = false;
      break;
    default:
      return 0;
  }
  if (gHost) gHost->ShowPropertiesDialog(record, editable);
  return 1;
}

void RemoveSubtree(TaskForest& tree, Node node, bool releaseRecords) {
  if (!node || node == kRootNode) return;
  ForgetCutNode(tree, node);
  const bool active = KindOf(tree) == TreeKind::kActive;
  if (active) gActiveRemovals.push_back(node);
  // Children first, in order. The first child is read afresh each time: a
  // removal may take other nodes of this tree along (an Active copy takes
  // its Lists partner's descendants' copies), so a sibling read earlier
  // could be gone.
  Node at = node;
  for (;;) {
    if (Node child = FirstChild(tree, at)) {
      at = child;
      continue;
    }
    Node parent = at == node ? nullptr : ParentOf(tree, at);
    if (!RemoveOne(tree, at, releaseRecords)) break;  // the node stays; so do its ancestors
    if (at == node) break;
    at = parent;
  }
  if (active) gActiveRemovals.pop_back();
}

void RemoveAndReselect(TaskForest& tree, Node node, bool releaseRecords) {
  if (!node) return;
  TaskForest* view = CurrentView();
  Node watched = node;
  if (view != &tree) {
    // Seen from the other tree of a link, the node is its partner there.
    const TreeKind kind = KindOf(tree);
    const bool partnerView = (kind == TreeKind::kLists && view == App().active) ||
                             (kind == TreeKind::kActive && view == App().lists);
    TaskRecord* record = partnerView ? RecordOf(tree, node) : nullptr;
    watched = record ? record->link : nullptr;
  }
  Node lastVisible = view ? view->GetNext(nullptr, Relation::kLastVisible) : nullptr;
  if (view) view->SetRedraw(false);
  RemoveSubtree(tree, node, releaseRecords);
  if (view) {
    if (watched && watched == lastVisible)
      view->Select(view->GetNext(nullptr, Relation::kLastVisible), Relation::kCaret);
    view->SetRedraw(true);
    Repaint(*view);
  }
}

bool OnBeginLabelEdit(TaskForest& /*tree*/, Node /*node*/, Handle edit) {
  SetLabelEdit(edit);
  if (edit && gHost) gHost->GuardLabelEdit(edit);
  return false;
}

bool OnEndLabelEdit(TaskForest& tree, Node node, const char* text) {
  SetLabelEdit(nullptr);
  if (!node) return false;
  const bool unnamed = gUnnamed.tree == &tree && gUnnamed.node == node;
  if (unnamed) gUnnamed = {nullptr, nullptr};
  if (!text) {
    // Esc on a node just made and never named takes it away again; a task
    // whose name was emptied later stays (and so does an Active copy's
    // Lists partner).
    if (unnamed && TaskNameLength(tree, node) == 0 && !FirstChild(tree, node))
      RemoveAndReselect(tree, node, true);
    return false;
  }
  if (!SetTaskName(tree, node, text)) ShowWarning("TreeView_SetItem failed!");
  TaskRecord* record = RecordOf(tree, node);
  if (record && record->link) {
    const TreeKind kind = KindOf(tree);
    TaskForest* other = kind == TreeKind::kLists    ? App().active
                        : kind == TreeKind::kActive ? App().lists
                                                    : nullptr;
    if (other) SetTaskName(*other, record->link, text);
  }
  return false;
}

void ExpandNode(TaskForest& tree, Node node, ExpandAction action) {
  tree.SetRedraw(false);
  tree.Expand(node, action);
  tree.SetRedraw(true);
  Repaint(tree);
}

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
      if (gHost) gHost->CloseMainWindow();
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
      if (gHost) gHost->RunActivationCheck();
      return true;
    case kKeyF3:
      if (gHost) gHost->OpenFind();
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
      if (gHost) gHost->OpenFind();
      return true;
    case 'F':
      if (gHost) gHost->SelectNextTab();
      return true;
    case 'H':
      if (selected) ToggleBold(tree, selected);
      return true;
    case 'S':
      // Said as on closing: otherwise the user believes the edits are safe.
      if (!SaveLists("current")) ShowWarning(kListsNotSaved);
      if (gHost) gHost->SaveSettings();
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
      if (gHost) gHost->ScrollLine(tree, true);
    }
    tree.Select(previous, Relation::kCaret);
  } else {
    if (selected == tree.GetNext(nullptr, Relation::kLastVisible)) return;
    Node next = tree.GetNext(selected, Relation::kNextVisible);
    if (!next) return;
    if (!tree.GetItemRect(next, false, &row) || row.bottom > tree.ClientRect().bottom) {
      if (gHost) gHost->ScrollLine(tree, false);
    }
    tree.Select(next, Relation::kCaret);
  }
}

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
  if (!gCut.node && !CanPasteClipboardText(tree)) {
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
      if (!target && KindOf(tree) == TreeKind::kLists && gCut.tree == &tree) target = LastTopLevel(tree);
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

CommandListener::CommandListener(TaskForest& tree) : tree_(tree) {}

bool CommandListener::OnBeginLabelEdit(Node node) {
  return ::OnBeginLabelEdit(tree_, node, tree_.GetEditControl());
}

bool CommandListener::OnEndLabelEdit(Node node, const char* text) {
  return ::OnEndLabelEdit(tree_, node, text);
}
