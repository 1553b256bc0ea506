// The tree commands against in-memory forests: what each does to the three
// trees, their records, stamps, links, the register and the pending cut.
#include <gtest/gtest.h>

#include <string>

#include "base/clipboard.h"
#include "data/listwriter.h"
#include "fakes/memoryclipboard.h"
#include "fakes/memoryforest.h"
#include "fixture.h"
#include "recording_host.h"
#include "tree/commands.h"
#include "tree/tasktree.h"

namespace {

constexpr char kData[] = "C:\\Data\\Velkin 1.0\\";
constexpr char kStamp[] = "3-7-2008 9:05";
constexpr char kCompleteQuestion[] = "Are you sure you want to complete this item and all of its subitems?";
constexpr char kDeleteQuestion[] = "Are you sure you want to permanently delete this item?";

struct Commands : AppFixture {
  RecordingHost host;
  MemoryClipboard clipboard;
  CommandListener listsListener{lists};
  CommandListener activeListener{active};
  CommandListener doneListener{done};

  void SetUp() override {
    AppFixture::SetUp();
    SetHost(&host);
    host.view = &lists;
    App().clipboard = &clipboard;
    CopyField(App().dataFolderOverride, kData);
    lists.SetListener(&listsListener);
    active.SetListener(&activeListener);
    done.SetListener(&doneListener);
  }
  void TearDown() override {
    lists.SetListener(nullptr);
    active.SetListener(nullptr);
    done.SetListener(nullptr);
    ResetCommands();
    SetHost(nullptr);
    AppFixture::TearDown();
  }

  Node Add(TaskForest& tree, Node parent, const char* name) {
    Node node = InsertTask(tree, parent ? parent : kRootNode, kLastNode, name);
    EXPECT_TRUE(node);
    return node;
  }
  // "A[B C] D": names in tree order, children in brackets.
  std::string Shape(TaskForest& tree, Node parent = kRootNode) {
    std::string shape;
    for (Node at = FirstChild(tree, parent); at; at = NextSibling(tree, at)) {
      if (!shape.empty()) shape += ' ';
      shape += TaskName(tree, at);
      if (FirstChild(tree, at)) shape += "[" + Shape(tree, at) + "]";
    }
    return shape;
  }
  Node Find(TaskForest& tree, const std::string& name) {
    Node found = nullptr;
    ForEachNode(tree, [&](Node at) {
      if (!found && TaskName(tree, at) == name) found = at;
    });
    return found;
  }
  TaskRecord* Rec(TaskForest& tree, Node node) { return RecordOf(tree, node); }
  bool Bold(TaskForest& tree, Node node) { return tree.GetState(node, kStateBold) != 0; }

  // Every Lists record, and only those, in the register.
  void ExpectRegisterIsLists() {
    EXPECT_EQ(App().tasks.count, lists.Count());
    ForEachNode(lists, [&](Node at) { EXPECT_TRUE(Rec(lists, at)->entry) << TaskName(lists, at); });
    for (RegisterEntry* e = FirstEntry(App().tasks); e; e = NextEntry(e))
      EXPECT_EQ(Rec(lists, EntryRecord(e)->treeitem), EntryRecord(e));
  }
  void ExpectLinked(Node listsNode, Node activeNode) {
    ASSERT_TRUE(listsNode && activeNode);
    EXPECT_EQ(Rec(lists, listsNode)->link, activeNode);
    EXPECT_EQ(Rec(active, activeNode)->link, listsNode);
    EXPECT_EQ(CheckStateOf(lists, listsNode), kChecked);
  }
  // Ends the edit that NewTask opened, as Enter with `text` would.
  void Type(TaskForest& tree, const char* text) {
    ASSERT_TRUE(tree.GetEditControl());
    tree.SetEditText(text);
    tree.EndEditLabelNow(false);
  }
};

// --- New tasks and label edits ---

TEST_F(Commands, EnterInEmptyListsMakesABoldFolderBeingEditedAndEscRemovesIt) {
  EXPECT_TRUE(HandleTreeKey(lists, nullptr, kKeyReturn, false));
  Node made = FirstChild(lists, kRootNode);
  ASSERT_TRUE(made);
  EXPECT_TRUE(Bold(lists, made));
  EXPECT_EQ(SelectedNode(lists), made);
  EXPECT_EQ(TaskName(lists, made), "");
  EXPECT_STREQ(Rec(lists, made)->enterdate, kStamp);
  ASSERT_TRUE(lists.GetEditControl());
  EXPECT_EQ(App().labelEdit, lists.GetEditControl());
  ASSERT_EQ(host.guarded.size(), 1u);
  EXPECT_EQ(host.guarded[0], lists.GetEditControl());
  EXPECT_EQ(App().tasks.count, 1u);

  lists.EndEditLabelNow(true);
  EXPECT_EQ(lists.Count(), 0u);
  EXPECT_EQ(App().labelEdit, nullptr);
  EXPECT_EQ(App().tasks.count, 0u);
  EXPECT_TRUE(prompts.shown().empty());
}

TEST_F(Commands, CancelledEditKeepsNamedNodesAndNodesWithChildren) {
  Node named = Add(lists, nullptr, "Named");
  ASSERT_TRUE(RenameTask(lists, named));
  lists.EndEditLabelNow(true);
  EXPECT_EQ(Shape(lists), "Named");

  Node empty = Add(lists, nullptr, "");
  Add(lists, empty, "Child");
  RenameTask(lists, empty);
  lists.EndEditLabelNow(true);
  EXPECT_EQ(Shape(lists), "Named [Child]");
}

TEST_F(Commands, OnlyANewNodeNeverNamedGoesWithACancelledEdit) {
  // An Active copy whose name was emptied by an earlier edit, then an edit
  // cancelled: the copy and its Lists partner stay.
  Node task = Add(lists, nullptr, "Task");
  ActivateTask(lists, task);
  Node copy = Rec(lists, task)->link;
  host.view = &active;
  RenameTask(active, copy);
  Type(active, "");
  RenameTask(active, copy);
  active.EndEditLabelNow(true);
  ASSERT_TRUE(ContainsNode(active, copy) && ContainsNode(lists, task));
  ExpectLinked(task, copy);

  // A new task named, emptied and then cancelled stays as well.
  host.view = &lists;
  NewTask(lists, task, false);
  Node named = SelectedNode(lists);
  Type(lists, "Named");
  RenameTask(lists, named);
  Type(lists, "");
  RenameTask(lists, named);
  lists.EndEditLabelNow(true);
  EXPECT_EQ(lists.Count(), 2u);
}

TEST_F(Commands, NewTasksGoBelowTheNodeAndSubtasksFirstUnderIt) {
  Node top = Add(lists, nullptr, "Top");
  Node older = Add(lists, top, "Older");
  NewTask(lists, top, true);
  Type(lists, "Sub");
  EXPECT_EQ(Shape(lists), "Top[Sub Older]");
  EXPECT_FALSE(Bold(lists, Find(lists, "Sub")));

  NewTask(lists, older, false);
  Type(lists, "After older");
  EXPECT_EQ(Shape(lists), "Top[Sub Older After older]");

  NewTask(lists, top, false);
  Type(lists, "Second folder");
  EXPECT_EQ(Shape(lists), "Top[Sub Older After older] Second folder");
  EXPECT_TRUE(Bold(lists, Find(lists, "Second folder")));
  ExpectRegisterIsLists();
}

TEST_F(Commands, NewTaskFromTheWindowMenuGoesFirstWhateverIsSelected) {
  Node a = Add(lists, nullptr, "A");
  lists.Select(a, Relation::kCaret);
  EXPECT_EQ(DispatchTreeCommand(lists, nullptr, kCmdNewTask), 1);
  Type(lists, "New");
  EXPECT_EQ(Shape(lists), "New A");
}

TEST_F(Commands, ActiveMakesFoldersOnlyAndDoneNothing) {
  Node folder = Add(active, nullptr, "Today");
  Node task = Add(active, folder, "Task");
  Add(active, nullptr, "Later");
  host.view = &active;
  EXPECT_TRUE(HandleTreeKey(active, task, kKeyReturn, false));
  Type(active, "Folder");
  EXPECT_EQ(Shape(active), "Today[Task] Folder Later");
  EXPECT_TRUE(Bold(active, Find(active, "Folder")));

  EXPECT_TRUE(HandleTreeKey(active, task, kKeyTab, false));
  EXPECT_EQ(active.Count(), 4u);
  EXPECT_EQ(App().tasks.count, 0u);  // Active records are not registered

  Node completed = Add(done, nullptr, "Completed");
  EXPECT_TRUE(HandleTreeKey(done, completed, kKeyReturn, false));
  EXPECT_TRUE(HandleTreeKey(done, completed, kKeyTab, false));
  EXPECT_EQ(done.Count(), 1u);
}

TEST_F(Commands, RenamingEitherPartnerRenamesTheOther) {
  Node task = Add(lists, nullptr, "Task");
  ASSERT_EQ(ActivateTask(lists, task), 1);
  Node copy = Rec(lists, task)->link;

  RenameTask(lists, task);
  Type(lists, "a<b>c");
  EXPECT_EQ(TaskName(lists, task),
            "a\xE2\x80\xB9"
            "b\xE2\x80\xBA"
            "c");
  EXPECT_EQ(TaskName(active, copy),
            "a\xE2\x80\xB9"
            "b\xE2\x80\xBA"
            "c");

  RenameTask(active, copy);
  Type(active, "From Active");
  EXPECT_EQ(TaskName(lists, task), "From Active");

  RenameTask(lists, task);
  Type(lists, "");  // an empty name is accepted
  EXPECT_EQ(TaskName(active, copy), "");
  EXPECT_EQ(lists.Count(), 1u);
  EXPECT_TRUE(prompts.shown().empty());
}

// --- Activation ---

TEST_F(Commands, SpaceActivatesIntoTodayAndAgainDeactivates) {
  Node folder = Add(lists, nullptr, "Folder");
  Node task = Add(lists, folder, "Task");
  Add(lists, task, "Child");
  SetUnchecked(lists, task);
  ASSERT_EQ(CheckStateOf(lists, task), kUnchecked);

  EXPECT_TRUE(HandleTreeKey(lists, task, kKeySpace, false));
  EXPECT_EQ(Shape(active), "Today[Task]");  // the node only, not its children
  Node today = FirstChild(active, kRootNode);
  EXPECT_TRUE(Bold(active, today));
  EXPECT_TRUE(IsExpanded(active, today));
  Node copy = FirstChild(active, today);
  ExpectLinked(task, copy);
  EXPECT_STREQ(Rec(lists, task)->activedate, kStamp);
  EXPECT_STREQ(Rec(active, copy)->enterdate, kStamp);
  EXPECT_EQ(CheckStateOf(active, copy), kCheckNone);

  // Already active: nothing more.
  EXPECT_EQ(ActivateTask(lists, task), 0);
  EXPECT_EQ(active.Count(), 2u);

  clock.Set({2009, 1, 4, 2, 13, 30, 0, 0});
  EXPECT_TRUE(HandleTreeKey(lists, task, kKeySpace, false));
  EXPECT_EQ(CheckStateOf(lists, task), kUnchecked);
  EXPECT_EQ(Rec(lists, task)->link, nullptr);
  EXPECT_EQ(Shape(active), "Today");
  EXPECT_STREQ(Rec(lists, task)->activedate, kStamp);  // kept
  EXPECT_EQ(DeactivateTask(lists, task), 0);

  EXPECT_TRUE(HandleTreeKey(lists, task, kKeySpace, false));
  Node again = FirstChild(active, today);
  ExpectLinked(task, again);
  EXPECT_STREQ(Rec(lists, task)->activedate, "1-2-2009 13:30");
  EXPECT_STREQ(Rec(active, again)->enterdate, "1-2-2009 13:30");
  ExpectRegisterIsLists();
}

TEST_F(Commands, LaterActivationsGoFirstIntoTheFirstFolder) {
  Node a = Add(lists, nullptr, "A");
  Node b = Add(lists, nullptr, "B");
  Add(active, nullptr, "Mine");
  Add(active, nullptr, "Other");
  ActivateTask(lists, a);
  ActivateTask(lists, b);
  EXPECT_EQ(Shape(active), "Mine[B A] Other");
}

TEST_F(Commands, SpaceInActiveDeactivatesAsTheMenusDeactivateDoes) {
  for (bool byMenu : {false, true}) {
    Node task = Add(lists, nullptr, byMenu ? "Menu" : "Key");
    ActivateTask(lists, task);
    Node copy = Rec(lists, task)->link;
    host.view = &active;
    if (byMenu)
      EXPECT_EQ(DispatchTreeCommand(active, copy, kCmdToggleActivation), 1);
    else
      EXPECT_TRUE(HandleTreeKey(active, copy, kKeySpace, false));
    EXPECT_EQ(CheckStateOf(lists, task), kUnchecked);
    EXPECT_EQ(Rec(lists, task)->link, nullptr);
    EXPECT_EQ(Shape(active), "Today");
  }
  // A folder has no partner.
  EXPECT_EQ(ToggleActivation(active, FirstChild(active, kRootNode)), 0);
  EXPECT_TRUE(HandleTreeKey(active, FirstChild(active, kRootNode), kKeySpace, false));
  EXPECT_EQ(Shape(active), "Today");
}

TEST_F(Commands, ActivatingAnUncheckedTaskWithALiveCopyMakesNoSecondCopy) {
  Node task = Add(lists, nullptr, "Task");
  ActivateTask(lists, task);
  Node copy = Rec(lists, task)->link;
  SetUnchecked(lists, task);  // as an edited list file can leave it
  EXPECT_EQ(ToggleActivation(lists, task), 1);
  ExpectLinked(task, copy);
  EXPECT_EQ(Shape(active), "Today[Task]");
  EXPECT_EQ(ToggleActivation(lists, task), 1);
  EXPECT_EQ(Shape(active), "Today");

  // A link to a copy that belongs to another task is dropped, not shared.
  Node other = Add(lists, nullptr, "Other");
  ActivateTask(lists, other);
  Rec(lists, task)->link = Rec(lists, other)->link;
  EXPECT_EQ(ActivateTask(lists, task), 1);
  EXPECT_EQ(Shape(active), "Today[Task Other]");
  ExpectLinked(task, Find(active, "Task"));
  ExpectLinked(other, Find(active, "Other"));
}

TEST_F(Commands, ACheckedNodeWhoseCopyWasLostDeactivatesCleanly) {
  Node task = Add(lists, nullptr, "Task");
  ToggleChecked(lists, task);  // checked, as a list file may leave it, without a link
  EXPECT_EQ(ToggleActivation(lists, task), 1);
  EXPECT_EQ(CheckStateOf(lists, task), kUnchecked);
  EXPECT_EQ(active.Count(), 0u);
}

// --- Completion and restoring ---

TEST_F(Commands, ShiftCompletesAChildlessNodeWithoutAsking) {
  Node folder = Add(lists, nullptr, "Folder");
  Node task = Add(lists, folder, "Task");
  ActivateTask(lists, task);
  TaskRecord* record = Rec(lists, task);

  EXPECT_TRUE(HandleTreeKey(lists, task, kKeyShift, false));
  EXPECT_TRUE(prompts.shown().empty());
  EXPECT_EQ(Shape(lists), "Folder");
  EXPECT_EQ(Shape(done), "Completed[Task]");
  Node completed = FirstChild(done, kRootNode);
  EXPECT_TRUE(Bold(done, completed));
  Node moved = FirstChild(done, completed);
  EXPECT_EQ(Rec(done, moved), record);  // the same record travels
  EXPECT_STREQ(record->completedate, kStamp);
  EXPECT_EQ(record->link, nullptr);
  EXPECT_EQ(record->entry, nullptr);
  EXPECT_EQ(CheckStateOf(done, moved), kUnchecked);
  EXPECT_EQ(Shape(active), "Today");  // its copy went
  ExpectRegisterIsLists();

  // Later completions go first into the first Done folder.
  Node other = Add(lists, folder, "Other");
  CompleteTask(lists, other);
  EXPECT_EQ(Shape(done), "Completed[Other Task]");
}

TEST_F(Commands, CompletingASubtreeAsksOnceAndStampsEveryNode) {
  Node folder = Add(lists, nullptr, "Folder");
  Node task = Add(lists, folder, "Task");
  Node child = Add(lists, task, "Child");
  Node grandchild = Add(lists, child, "Grandchild");
  ActivateTask(lists, grandchild);
  ActivateTask(lists, task);

  prompts.Answer(kAnswerNo);
  EXPECT_EQ(CompleteTask(lists, task), 0);
  prompts.Answer(kAnswerCancel);
  EXPECT_EQ(CompleteTask(lists, task), 0);
  EXPECT_EQ(Shape(lists), "Folder[Task[Child[Grandchild]]]");
  EXPECT_EQ(done.Count(), 0u);
  EXPECT_EQ(host.focusCalls, 2);

  prompts.Answer(kAnswerYes);
  EXPECT_EQ(CompleteTask(lists, task), 1);
  ASSERT_EQ(prompts.shown().size(), 3u);
  EXPECT_EQ(prompts.shown()[2].text, kCompleteQuestion);
  EXPECT_EQ(prompts.shown()[2].style, kBoxIconQuestion | kBoxYesNoCancel);
  EXPECT_EQ(Shape(lists), "Folder");
  EXPECT_EQ(Shape(done), "Completed[Task[Child[Grandchild]]]");
  EXPECT_EQ(Shape(active), "Today");
  ForEachNode(done, [&](Node at) {
    if (at == FirstChild(done, kRootNode)) return;
    EXPECT_STREQ(Rec(done, at)->completedate, kStamp);
    EXPECT_EQ(CheckStateOf(done, at), kUnchecked);
    EXPECT_EQ(Rec(done, at)->link, nullptr);
    EXPECT_EQ(Rec(done, at)->treeitem, at);
  });
  ExpectRegisterIsLists();
}

TEST_F(Commands, CompletingFromActiveCompletesThePartner) {
  Node task = Add(lists, nullptr, "Task");
  ActivateTask(lists, task);
  Node copy = Rec(lists, task)->link;
  host.view = &active;
  EXPECT_FALSE(CompleteTask(active, FirstChild(active, kRootNode)));  // a folder
  EXPECT_TRUE(HandleTreeKey(active, copy, kKeyShift, false));
  EXPECT_EQ(lists.Count(), 0u);
  EXPECT_EQ(Shape(active), "Today");
  EXPECT_EQ(Shape(done), "Completed[Task]");
}

TEST_F(Commands, RestoreReturnsTheSubtreeToTheFirstListsFolder) {
  Node folder = Add(lists, nullptr, "Folder");
  Node task = Add(lists, folder, "Task");
  Add(lists, task, "Child");
  ActivateTask(lists, task);
  prompts.Answer(kAnswerYes);
  CompleteTask(lists, task);
  Node moved = FirstChild(done, FirstChild(done, kRootNode));
  TaskRecord* record = Rec(done, moved);

  host.view = &done;
  EXPECT_TRUE(HandleTreeKey(done, moved, kKeyShift, false));
  EXPECT_EQ(Shape(lists), "Folder[Task[Child]]");
  EXPECT_EQ(Shape(done), "Completed");
  Node back = Find(lists, "Task");
  EXPECT_EQ(Rec(lists, back), record);
  EXPECT_EQ(record->treeitem, back);
  EXPECT_STREQ(record->completedate, kStamp);
  EXPECT_STREQ(record->activedate, kStamp);
  ForEachNode(lists, [&](Node at) { EXPECT_EQ(CheckStateOf(lists, at), kUnchecked); });
  ExpectRegisterIsLists();
}

TEST_F(Commands, RestoreNeedsAListsFolderAndWorksInDoneOnly) {
  Node completed = Add(done, nullptr, "Completed");
  Node task = Add(done, completed, "Task");
  EXPECT_EQ(RestoreTask(done, task), 0);
  EXPECT_EQ(prompts.Texts(), std::vector<std::string>{"There are no folders in Lists to restore to."});
  EXPECT_EQ(Shape(done), "Completed[Task]");
  Node folder = Add(lists, nullptr, "Folder");
  EXPECT_EQ(RestoreTask(lists, folder), 0);
  EXPECT_EQ(RestoreTask(done, nullptr), 0);
}

// --- Deleting ---

TEST_F(Commands, DeleteAsksAndOnYesTakesTheActiveCopyAlong) {
  Node folder = Add(lists, nullptr, "Folder");
  Node task = Add(lists, folder, "Task");
  Node child = Add(lists, task, "Child");
  ActivateTask(lists, task);
  ActivateTask(lists, child);

  EXPECT_TRUE(HandleTreeKey(lists, task, kKeyDelete, false));  // No, by default
  EXPECT_EQ(prompts.Texts(), std::vector<std::string>{kDeleteQuestion});
  EXPECT_EQ(prompts.shown()[0].style, kBoxIconQuestion | kBoxYesNoCancel);
  EXPECT_EQ(lists.Count(), 3u);
  EXPECT_EQ(host.focusCalls, 1);

  prompts.Answer(kAnswerYes);
  EXPECT_EQ(DeleteTask(lists, task), 1);
  EXPECT_EQ(Shape(lists), "Folder");
  EXPECT_EQ(Shape(active), "Today");
  EXPECT_EQ(host.focusCalls, 2);
  ExpectRegisterIsLists();
}

TEST_F(Commands, DeletingAnActiveCopyDeletesItsPartnerWithItsSubtree) {
  Node folder = Add(lists, nullptr, "Folder");
  Node task = Add(lists, folder, "Task");
  Node child = Add(lists, task, "Child");
  Node keep = Add(lists, folder, "Keep");
  ActivateTask(lists, child);
  ActivateTask(lists, keep);
  ActivateTask(lists, task);
  host.view = &active;
  prompts.Answer(kAnswerYes);
  EXPECT_EQ(DeleteTask(active, Rec(lists, task)->link), 1);
  EXPECT_EQ(Shape(lists), "Folder[Keep]");
  EXPECT_EQ(Shape(active), "Today[Keep]");
  ExpectLinked(keep, FirstChild(active, FirstChild(active, kRootNode)));
  ExpectRegisterIsLists();
}

TEST_F(Commands, DeletingAnActiveFolderDeletesThePartnersOfAllItsCopies) {
  Node folder = Add(lists, nullptr, "Folder");
  Node parent = Add(lists, folder, "Parent");
  Node child = Add(lists, parent, "Child");
  Node other = Add(lists, folder, "Other");
  Node outside = Add(lists, folder, "Outside");
  // Child's copy comes after Parent's in the same folder: removing Parent's
  // copy takes Child's copy along before the folder's walk reaches it.
  ActivateTask(lists, child);
  ActivateTask(lists, other);
  ActivateTask(lists, parent);
  Node second = Add(active, nullptr, "Second");
  InsertTask(active, second, kLastNode, "Loose");
  ASSERT_EQ(DeactivateTask(lists, outside), 0);
  RemoveSubtree(active, FirstChild(active, kRootNode), true);
  EXPECT_EQ(Shape(lists), "Folder[Outside]");
  EXPECT_EQ(Shape(active), "Second[Loose]");
  ExpectRegisterIsLists();
}

// A file can link an Active folder to a Lists task. Removing a copy inside
// that folder whose partner holds that task must not pull the folder, and
// the copy with it, out from under the removal.
TEST_F(Commands, RemovingACopyKeepsAFolderLinkedToItsPartnersSubtree) {
  Node folder = Add(lists, nullptr, "Folder");
  Node parent = Add(lists, folder, "Parent");
  Node child = Add(lists, parent, "Child");
  ActivateTask(lists, parent);
  Node today = FirstChild(active, kRootNode);
  Node copy = FirstChild(active, today);
  ASSERT_TRUE(today && copy);
  RecordOf(active, today)->link = child;
  RecordOf(lists, child)->link = today;

  RemoveSubtree(active, copy, true);
  EXPECT_EQ(Shape(lists), "Folder");
  EXPECT_EQ(Shape(active), "Today");
  EXPECT_EQ(RecordOf(active, today)->link, nullptr);
  ExpectRegisterIsLists();
}

TEST_F(Commands, RemovingTheLastVisibleNodeSelectsTheNewLast) {
  Node a = Add(lists, nullptr, "A");
  Node b = Add(lists, nullptr, "B");
  lists.Select(b, Relation::kCaret);
  RemoveAndReselect(lists, b, true);
  EXPECT_EQ(SelectedNode(lists), a);
  EXPECT_FALSE(lists.RedrawSuspended());
  ASSERT_FALSE(host.repainted.empty());
  EXPECT_EQ(host.repainted.back(), &lists);
}

TEST_F(Commands, CompletingFromActiveReselectsTheLastCopyThere) {
  // Nodes of different forests may have equal handles; these do not.
  for (const char* name : {"W", "X", "Y"}) Add(lists, nullptr, name);
  Node a = Add(lists, nullptr, "A");
  Node b = Add(lists, nullptr, "B");
  ActivateTask(lists, b);
  ActivateTask(lists, a);  // Today[A B]: B's copy is the last row
  Node copyA = Rec(lists, a)->link;
  Node copyB = Rec(lists, b)->link;
  host.view = &active;
  active.Select(FirstChild(active, kRootNode), Relation::kCaret);
  EXPECT_EQ(CompleteTask(active, copyB), 1);
  EXPECT_EQ(SelectedNode(active), copyA);
  EXPECT_FALSE(active.RedrawSuspended());
  EXPECT_EQ(host.repainted.back(), &active);
}

// --- Cut and paste ---

TEST_F(Commands, CutInListsPastedInActiveIsRefusedAndStaysPending) {
  Node a = Add(lists, nullptr, "A");
  Node task = Add(lists, a, "Task");
  Node b = Add(lists, nullptr, "B");
  Node folder = Add(active, nullptr, "Today");
  EXPECT_TRUE(HandleTreeKey(lists, task, 'X', true));
  EXPECT_FALSE(HandleTreeKey(lists, task, 'X', false));
  EXPECT_TRUE(HandleTreeKey(active, folder, 'V', true));
  EXPECT_EQ(prompts.Texts(), std::vector<std::string>{"Error: Cannot move items between tabs."});
  EXPECT_EQ(CurrentCut().node, task);

  EXPECT_TRUE(HandleTreeKey(lists, b, 'V', true));
  EXPECT_EQ(Shape(lists), "A B[Task]");
  EXPECT_TRUE(IsExpanded(lists, b));
  EXPECT_EQ(CurrentCut().node, nullptr);
  Node moved = Find(lists, "Task");
  EXPECT_EQ(Rec(lists, moved)->treeitem, moved);
  ExpectRegisterIsLists();
}

TEST_F(Commands, PasteBelowAndIntoKeepLinksPointingAtTheMovedNode) {
  Node a = Add(lists, nullptr, "A");
  Node task = Add(lists, a, "Task");
  Node b = Add(lists, nullptr, "B");
  Node target = Add(lists, b, "Target");
  ActivateTask(lists, task);
  Node copy = Rec(lists, task)->link;
  CutTask(lists, task);
  EXPECT_TRUE(HandleTreeKey(lists, target, 'B', true));
  EXPECT_EQ(Shape(lists), "A B[Target Task]");
  ExpectLinked(Find(lists, "Task"), copy);
}

TEST_F(Commands, PastingIntoTheCutNodesOwnSubtreeDoesNothing) {
  Node a = Add(lists, nullptr, "A");
  Node child = Add(lists, a, "Child");
  Node grandchild = Add(lists, child, "Grandchild");
  CutTask(lists, a);
  EXPECT_EQ(PasteTask(lists, a, true), 0);
  EXPECT_EQ(PasteTask(lists, grandchild, true), 0);
  EXPECT_EQ(PasteTask(lists, child, false), 0);
  EXPECT_EQ(Shape(lists), "A[Child[Grandchild]]");
  EXPECT_EQ(CurrentCut().node, a);
  EXPECT_TRUE(prompts.shown().empty());
}

TEST_F(Commands, ActiveKeepsItsTwoLevelsWhenPasting) {
  Node f1 = Add(active, nullptr, "F1");
  Node t1 = Add(active, f1, "T1");
  Node f2 = Add(active, nullptr, "F2");
  Node t2 = Add(active, f2, "T2");
  CutTask(active, t1);
  EXPECT_EQ(PasteTask(active, f2, false), 0);  // a task below a folder
  EXPECT_EQ(PasteTask(active, t2, true), 0);   // a task into a task
  CutTask(active, f1);
  EXPECT_EQ(PasteTask(active, f2, true), 0);   // a folder into a folder
  EXPECT_EQ(PasteTask(active, t2, false), 0);  // a folder below a task
  EXPECT_EQ(Shape(active), "F1[T1] F2[T2]");
  EXPECT_EQ(CurrentCut().node, f1);

  EXPECT_EQ(PasteTask(active, f2, false), 1);
  EXPECT_EQ(Shape(active), "F2[T2] F1[T1]");
  CutTask(active, Find(active, "T1"));
  EXPECT_EQ(PasteTask(active, Find(active, "F2"), true), 1);
  EXPECT_EQ(Shape(active), "F2[T1 T2] F1");
  CutTask(active, Find(active, "T1"));
  EXPECT_EQ(PasteTask(active, Find(active, "T2"), false), 1);
  EXPECT_EQ(Shape(active), "F2[T2 T1] F1");
}

TEST_F(Commands, ACutNodeThatGoesAwayIsForgotten) {
  Node a = Add(lists, nullptr, "A");
  Node child = Add(lists, a, "Child");
  Node b = Add(lists, nullptr, "B");
  CutTask(lists, child);
  prompts.Answer(kAnswerYes);
  DeleteTask(lists, a);  // the cut's parent
  EXPECT_EQ(CurrentCut().node, nullptr);
  EXPECT_EQ(PasteTask(lists, b, true), 0);
  EXPECT_EQ(Shape(lists), "B");

  Node task = Add(lists, b, "Task");
  CutTask(lists, task);
  CompleteTask(lists, task);
  EXPECT_EQ(CurrentCut().node, nullptr);

  // Deactivating removes the Active copy, which may be the cut.
  Node c = Add(lists, b, "C");
  ActivateTask(lists, c);
  CutTask(active, Rec(lists, c)->link);
  DeactivateTask(lists, c);
  EXPECT_EQ(CurrentCut().node, nullptr);

  // A cut elsewhere is kept.
  Node d = Add(lists, b, "D");
  CutTask(lists, d);
  RemoveSubtree(lists, c, true);
  EXPECT_EQ(CurrentCut().node, d);
}

TEST_F(Commands, PasteBelowOverEmptyListsSpaceGoesAfterTheLastFolder) {
  Node a = Add(lists, nullptr, "A");
  Node task = Add(lists, a, "Task");
  Add(lists, nullptr, "B");
  CutTask(lists, task);
  EXPECT_EQ(DispatchTreeCommand(lists, nullptr, kCmdPasteBelow), 1);
  EXPECT_EQ(Shape(lists), "A B Task");
  // With nothing cut, or a cut from another tree, it does nothing.
  EXPECT_EQ(DispatchTreeCommand(lists, nullptr, kCmdPasteBelow), 0);
  CutTask(active, Add(active, nullptr, "Folder"));
  EXPECT_EQ(DispatchTreeCommand(lists, nullptr, kCmdPasteBelow), 0);
  EXPECT_TRUE(prompts.shown().empty());
}

// --- Keys ---

TEST_F(Commands, EveryKeyOfTheTableIsHandledAndLettersNeedControl) {
  Node a = Add(lists, nullptr, "A");
  lists.Select(a, Relation::kCaret);
  for (char letter : std::string("ABCFHSVX")) {
    EXPECT_FALSE(HandleTreeKey(lists, a, static_cast<unsigned>(letter), false)) << letter;
    EXPECT_FALSE(HandleTreeKey(done, nullptr, static_cast<unsigned>(letter), false)) << letter;
  }
  for (unsigned other : {0x41u + 3, 0x5Au, 0x70u, 0x71u, 0x24u, 0x23u})
    EXPECT_FALSE(HandleTreeKey(lists, a, other, true)) << other;
  // Keys that do nothing in a tree with nothing selected are still handled.
  for (unsigned key : {kKeyReturn, kKeyTab, kKeySpace, kKeyShift, kKeyDelete, kKeyLeft, kKeyRight, kKeyUp,
                       kKeyDown, kKeyEscape, kKeyF5})
    EXPECT_TRUE(HandleTreeKey(done, nullptr, key, false)) << key;
  for (char letter : std::string("ABCFHVX"))
    EXPECT_TRUE(HandleTreeKey(done, nullptr, letter, true)) << letter;
  EXPECT_EQ(host.closeCalls, 1);
  EXPECT_EQ(host.activationChecks, 1);
  EXPECT_EQ(host.nextTabCalls, 1);
  EXPECT_TRUE(prompts.shown().empty());
}

TEST_F(Commands, ControlKeysReachTheirCommands) {
  Node a = Add(lists, nullptr, "A");
  Add(lists, a, "B");
  EXPECT_TRUE(HandleTreeKey(lists, a, 'H', true));
  EXPECT_TRUE(Bold(lists, a));
  EXPECT_TRUE(HandleTreeKey(lists, a, 'H', true));
  EXPECT_FALSE(Bold(lists, a));

  std::string text;
  EXPECT_TRUE(HandleTreeKey(lists, FirstChild(lists, a), 'C', true));
  ASSERT_TRUE(clipboard.GetText(&text));
  EXPECT_EQ(text, "B\r\n");
  EXPECT_TRUE(HandleTreeKey(lists, nullptr, 'A', true));
  clipboard.GetText(&text);
  EXPECT_EQ(text, "A\r\n\tB\r\n");

  EXPECT_TRUE(HandleTreeKey(lists, a, 'S', true));
  EXPECT_EQ(files.files[std::string(kData) + "current\\list.xml"], FormatListFile(lists));
  EXPECT_TRUE(files.FileExists(std::string(kData) + "current\\done.xml"));
  EXPECT_EQ(host.saveSettingsCalls, 1);
}

TEST_F(Commands, CtrlSSaysWhenTheListsCouldNotBeSaved) {
  Node a = Add(lists, nullptr, "A");
  files.FailWritesTo("list.xml", 0);
  EXPECT_TRUE(HandleTreeKey(lists, a, 'S', true));
  EXPECT_EQ(prompts.Texts(), std::vector<std::string>{"Error: Could not save the lists!"});
  EXPECT_EQ(host.saveSettingsCalls, 1);
}

TEST_F(Commands, AQuestionNeverGoesOnWithANodeRemovedWhileItWasOpen) {
  App().mainWindow = reinterpret_cast<Handle>(0x5150);
  struct Case {
    const char* name;
    int (*run)(TaskForest&, Node);
    const char* question;
    Handle owner;
    bool removeTheNode;  // else another node goes while the box is open
    const char* listsAfter;
    const char* doneAfter;
  } cases[] = {
      {"complete, node removed", CompleteTask, kCompleteQuestion, App().mainWindow, true, "Other", ""},
      {"complete, other removed", CompleteTask, kCompleteQuestion, App().mainWindow, false, "",
       "Completed[Parent[Child]]"},
      {"delete, node removed", DeleteTask, kDeleteQuestion, nullptr, true, "Other", ""},
      {"delete, other removed", DeleteTask, kDeleteQuestion, nullptr, false, "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FreeForestRecords({&lists, &active, &done});
    ClearRegister(App().tasks);
    Node parent = Add(lists, nullptr, "Parent");
    Add(lists, parent, "Child");
    Node other = Add(lists, nullptr, "Other");
    prompts.Clear();
    prompts.Answer(kAnswerYes);
    prompts.WhileShown([&] { RemoveSubtree(lists, c.removeTheNode ? parent : other, true); });
    EXPECT_EQ(c.run(lists, parent), c.removeTheNode ? 0 : 1);
    ASSERT_EQ(prompts.shown().size(), 1u) << prompts.Texts().back();
    EXPECT_EQ(prompts.shown()[0].text, c.question);
    EXPECT_EQ(prompts.shown()[0].owner, c.owner);
    EXPECT_EQ(Shape(lists), c.listsAfter);
    EXPECT_EQ(Shape(done), c.doneAfter);
  }
}

TEST_F(Commands, LeftAndRightCollapseAndExpandWithPaintingSuspended) {
  Node a = Add(lists, nullptr, "A");
  Add(lists, a, "B");
  int offs = lists.RedrawOffCount();
  EXPECT_TRUE(HandleTreeKey(lists, a, kKeyRight, false));
  EXPECT_TRUE(IsExpanded(lists, a));
  EXPECT_GT(lists.RedrawOffCount(), offs);
  EXPECT_FALSE(lists.RedrawSuspended());
  EXPECT_TRUE(HandleTreeKey(lists, a, kKeyLeft, false));
  EXPECT_FALSE(IsExpanded(lists, a));
  EXPECT_EQ(host.repainted.size(), 2u);
}

TEST_F(Commands, UpAndDownMoveAndScrollTheSelectionIn) {
  lists.SetClientSize(200, MemoryForest::kRowHeight * 3);
  Node nodes[6];
  for (int i = 0; i < 6; ++i) nodes[i] = Add(lists, nullptr, std::to_string(i).c_str());
  lists.Select(nodes[0], Relation::kCaret);

  EXPECT_TRUE(HandleTreeKey(lists, nodes[0], kKeyUp, false));  // first: nothing
  EXPECT_EQ(SelectedNode(lists), nodes[0]);
  HandleTreeKey(lists, nodes[0], kKeyDown, false);
  HandleTreeKey(lists, nodes[1], kKeyDown, false);
  EXPECT_EQ(SelectedNode(lists), nodes[2]);
  EXPECT_TRUE(host.scrolls.empty());  // still in view
  HandleTreeKey(lists, nodes[2], kKeyDown, false);
  EXPECT_EQ(SelectedNode(lists), nodes[3]);
  ASSERT_EQ(host.scrolls.size(), 1u);
  EXPECT_FALSE(host.scrolls[0].up);

  lists.Select(nodes[5], Relation::kCaret);
  host.scrolls.clear();
  HandleTreeKey(lists, nodes[5], kKeyDown, false);  // last: nothing
  EXPECT_EQ(SelectedNode(lists), nodes[5]);
  EXPECT_TRUE(host.scrolls.empty());
  // Up from the top row of the view scrolls up.
  Node top = lists.GetNext(nullptr, Relation::kFirstVisible);
  lists.Select(top, Relation::kCaret);
  HandleTreeKey(lists, top, kKeyUp, false);
  EXPECT_EQ(SelectedNode(lists), lists.GetNext(top, Relation::kPrevious));
  ASSERT_EQ(host.scrolls.size(), 1u);
  EXPECT_TRUE(host.scrolls[0].up);

  // Nothing selected in an empty tree: nothing.
  MoveSelection(done, nullptr, true);
  MoveSelection(done, nullptr, false);
  EXPECT_EQ(host.scrolls.size(), 1u);
}

// --- Menus ---

TEST_F(Commands, MenusByTreeAndTarget) {
  Node item = Add(lists, nullptr, "Item");
  Node folder = Add(active, nullptr, "Folder");
  Node task = Add(active, folder, "Task");
  Node completed = Add(done, nullptr, "Completed");
  EXPECT_STREQ(MenuFor(lists, item).resource, "ItemPopupMenu");
  EXPECT_STREQ(MenuFor(lists, nullptr).resource, "WindowPopupMenu");
  EXPECT_STREQ(MenuFor(active, task).resource, "ActivePopupMenu");
  EXPECT_EQ(MenuFor(active, nullptr).resource, nullptr);
  EXPECT_STREQ(MenuFor(done, completed).resource, "DonePopupMenu");
  EXPECT_EQ(MenuFor(done, nullptr).resource, nullptr);
  MemoryForest stranger(false);
  EXPECT_EQ(MenuFor(stranger, nullptr).resource, nullptr);

  auto greyed = [](const TreeMenu& menu) {
    std::vector<int> ids;
    for (int id = 490; id < 520; ++id)
      if (IsGreyed(menu, id)) ids.push_back(id);
    return ids;
  };
  EXPECT_EQ(greyed(MenuFor(lists, item)), (std::vector<int>{kCmdPasteBelow, kCmdPasteInto}));
  EXPECT_EQ(greyed(MenuFor(active, task)), (std::vector<int>{kCmdPasteBelow, kCmdPasteInto}));
  EXPECT_EQ(
      greyed(MenuFor(active, folder)),
      (std::vector<int>{kCmdPasteBelow, kCmdPasteInto, kCmdToggleActivation, kCmdComplete, kCmdProperties}));
  CutTask(done, completed);  // a cut anywhere enables pasting everywhere
  EXPECT_TRUE(greyed(MenuFor(lists, item)).empty());
  EXPECT_EQ(greyed(MenuFor(active, folder)),
            (std::vector<int>{kCmdToggleActivation, kCmdComplete, kCmdProperties}));
  EXPECT_TRUE(greyed(MenuFor(lists, nullptr)).empty());
}

TEST_F(Commands, MenuCommandsReachTheirCommands) {
  Node task = Add(lists, nullptr, "Task");
  EXPECT_EQ(DispatchTreeCommand(lists, task, kCmdRename), 1);
  EXPECT_TRUE(lists.GetEditControl());
  Type(lists, "Renamed");
  EXPECT_EQ(DispatchTreeCommand(lists, task, kCmdToggleActivation), 1);
  Node copy = Rec(lists, task)->link;
  EXPECT_EQ(DispatchTreeCommand(lists, task, kCmdNewSubtask), 1);
  lists.EndEditLabelNow(true);
  EXPECT_EQ(DispatchTreeCommand(lists, task, kCmdCut), 1);
  EXPECT_EQ(CurrentCut().node, task);
  EXPECT_EQ(DispatchTreeCommand(lists, task, kCmdCopyText), 1);
  EXPECT_EQ(DispatchTreeCommand(lists, task, kCmdCopyAllText), 1);
  EXPECT_EQ(DispatchTreeCommand(lists, task, 514), 0);
  EXPECT_EQ(DispatchTreeCommand(lists, nullptr, kCmdDelete), 0);
  EXPECT_TRUE(prompts.shown().empty());  // nothing is asked without a node

  EXPECT_EQ(DispatchTreeCommand(active, copy, kCmdProperties), 1);
  EXPECT_EQ(DispatchTreeCommand(lists, task, kCmdProperties), 1);
  EXPECT_EQ(DispatchTreeCommand(active, FirstChild(active, kRootNode), kCmdProperties), 1);
  EXPECT_EQ(DispatchTreeCommand(lists, task, kCmdComplete), 1);
  Node moved = Find(done, "Renamed");
  EXPECT_EQ(DispatchTreeCommand(done, moved, kCmdProperties), 1);
  ASSERT_EQ(host.properties.size(), 4u);
  EXPECT_EQ(host.properties[0].record, Rec(done, moved));  // the Lists record, now in Done
  EXPECT_TRUE(host.properties[0].editable);
  EXPECT_EQ(host.properties[1].record, Rec(done, moved));
  EXPECT_EQ(host.properties[2].record, nullptr);  // a folder has none
  EXPECT_EQ(host.properties[3].record, Rec(done, moved));
  EXPECT_FALSE(host.properties[3].editable);

  EXPECT_EQ(DispatchTreeCommand(done, moved, kCmdRestore), 0);  // no Lists folder left
  prompts.Answer(kAnswerYes);
  EXPECT_EQ(DispatchTreeCommand(done, moved, kCmdDelete), 1);
  EXPECT_EQ(Shape(done), "Completed");
}

}  // namespace
