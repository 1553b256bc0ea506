// The editing commands of the three task trees, reached by keys, pop-up
// menus and clicks. Portable: the platform is reached through the forests,
// the prompts, the clipboard and the TreeHost below.
#pragma once

#include "base/forest.h"
#include "base/platform.h"

struct TaskRecord;

enum class TreeKind { kOther, kLists, kActive, kDone };
// Which of the application state's trees this is.
TreeKind KindOf(const TaskForest& tree);

// What the commands need from the window side that is not a forest:
// implemented by the main window on Windows and by a recording host in
// tests. Every call is made on the user-interface thread.
class TreeHost {
 public:
  virtual ~TreeHost() = default;
  // The forest of the selected tab, or none when the calendar is shown.
  virtual TaskForest* CurrentView() = 0;
  // Gives the keyboard focus back to the current view.
  virtual void FocusCurrentView() = 0;
  // Invalidates and repaints the whole tree.
  virtual void RepaintTree(TaskForest& tree) = 0;
  // Scrolls the tree by one line (WM_VSCROLL, SB_LINEUP / SB_LINEDOWN).
  virtual void ScrollLine(TaskForest& tree, bool up) = 0;
  // Escape: the main window's WM_CLOSE (saves and hides).
  virtual void CloseMainWindow() = 0;
  // Ctrl+F.
  virtual void SelectNextTab() = 0;
  // Ctrl+S, after the lists are saved.
  virtual void SaveSettings() = 0;
  // F5: the activation check.
  virtual void RunActivationCheck() = 0;
  // The Properties dialog for a record (none: the dialog says so).
  virtual void ShowPropertiesDialog(TaskRecord* record, bool editable) = 0;
  // Makes the label edit swallow "<" and ">" (subclassing it on Windows).
  virtual void GuardLabelEdit(Handle edit) = 0;
  // Ctrl+E and F3: the Find Task box.
  virtual void OpenFind() {}
};

// The host of the running program; set at start-up (and by tests).
TreeHost* Host();
void SetHost(TreeHost* host);

// The pending cut, for tests and for the drag code that moves nodes.
struct PendingCut {
  TaskForest* tree;
  Node node;
};
PendingCut CurrentCut();
void ClearCut();
// Forgets the pending cut and the new node still awaiting its first name
// (between tests: forests of one test are gone in the next).
void ResetCommands();
// A node that goes away (deleted, completed, moved) stops being the cut.
void ForgetCutNode(TaskForest& tree, Node node);

int NewTask(TaskForest& tree, Node node, bool subtask);
int RenameTask(TaskForest& tree, Node node);
int ToggleActivation(TaskForest& tree, Node node);
int ActivateTask(TaskForest& tree, Node node);
int DeactivateTask(TaskForest& tree, Node node);
int CompleteTask(TaskForest& tree, Node node);
int RestoreTask(TaskForest& tree, Node node);
int DeleteTask(TaskForest& tree, Node node);
int CutTask(TaskForest& tree, Node node);
// With no cut pending, the clipboard's text becomes tasks (Lists only).
// With no cut pending, the clipboard's text becomes tasks (Lists only).
int PasteTask(TaskForest& tree, Node target, bool into);
int ShowProperties(TaskForest& tree, Node node);
void RemoveSubtree(TaskForest& tree, Node node, bool releaseRecords);
void RemoveAndReselect(TaskForest& tree, Node node, bool releaseRecords);

// TVN_BEGINLABELEDIT: answer false to let the edit proceed.
bool OnBeginLabelEdit(TaskForest& tree, Node node, Handle edit);
// TVN_ENDLABELEDIT (text none when cancelled): sets the texts itself and
// answers false.
bool OnEndLabelEdit(TaskForest& tree, Node node, const char* text);

// A forest's listener that hands the label edits to the two above.
class CommandListener final : public ForestListener {
 public:
  explicit CommandListener(TaskForest& tree);
  bool OnBeginLabelEdit(Node node) override;
  bool OnEndLabelEdit(Node node, const char* text) override;

 private:
  TaskForest& tree_;
};

// Expands, collapses or toggles with painting suspended, then repaints.
void ExpandNode(TaskForest& tree, Node node, ExpandAction action);
