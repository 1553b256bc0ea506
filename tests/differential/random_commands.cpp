#include "tests/differential/random_commands.h"

#include <algorithm>
#include <random>
#include <unordered_map>
#include <unordered_set>

#include "alerts/activation.h"
#include "alerts/properties.h"
#include "base/appstate.h"
#include "base/clock.h"
#include "base/prompts.h"
#include "base/taskrecord.h"
#include "fakes/scriptedprompts.h"
#include "tree/commands.h"
#include "tree/droptarget.h"
#include "tree/tasktree.h"

namespace {

struct Weighted {
  Command command;
  int weight;
  int trees[3];  // how often in Lists, Active and Done
  const char* name;
};

// How often each command comes, and where; a new command (a drag move) is
// one more line.
constexpr Weighted kWeights[] = {
    {Command::kNewTask, 16, {7, 3, 0}, "new task"},
    {Command::kNewSubtask, 14, {9, 1, 0}, "new subtask"},
    {Command::kRename, 8, {6, 3, 1}, "rename"},
    {Command::kActivate, 8, {9, 1, 0}, "activate"},
    {Command::kDeactivate, 5, {5, 5, 0}, "deactivate"},
    {Command::kSpace, 4, {6, 4, 0}, "space"},
    {Command::kComplete, 6, {6, 4, 0}, "complete"},
    {Command::kRestore, 5, {0, 0, 1}, "restore"},
    {Command::kDelete, 5, {6, 3, 1}, "delete"},
    {Command::kCut, 6, {7, 2, 1}, "cut"},
    {Command::kPasteBelow, 5, {7, 2, 1}, "paste below"},
    {Command::kPasteInto, 5, {7, 2, 1}, "paste into"},
    {Command::kExpand, 3, {6, 2, 2}, "expand"},
    {Command::kCollapse, 3, {6, 2, 2}, "collapse"},
    {Command::kBold, 2, {6, 2, 2}, "bold"},
    {Command::kMove, 8, {7, 3, 0}, "drag"},
    {Command::kSchedule, 6, {8, 1, 1}, "auto-activate"},
    {Command::kCheck, 4, {1, 0, 0}, "check"},
};

// Names as users type them, with what the files must carry unchanged or
// the program must clean: "<" and ">", letters beyond ASCII, 259
// characters and more.
const char* const kNames[] = {"Buy milk",      "Call the plumber", "Q3 report", "",      "Caf\xc3\xa9 & cr\xc3\xa8me",
                              "a <b> c",       "  spaced  ",       "x",         "Tasks", "Today",
                              "\xe2\x82\xac \xc4\x8c \xe6\x97\xa5 \xf0\x9f\x98\x80"};

TaskForest* TreeOf(int tree) {
  AppState& app = App();
  return tree == 0 ? app.lists : tree == 1 ? app.active : app.done;
}

// A user reaches only the nodes on show (none inside a collapsed one);
// the activation check reaches any. One pick in sixteen is no node (a
// click on empty space).
Node Pick(TaskForest& tree, uint32_t pick, bool shownOnly) {
  std::vector<Node> nodes;
  if (shownOnly) {
    for (Node node = FirstChild(tree, kRootNode); node; node = tree.GetNext(node, Relation::kNextVisible))
      nodes.push_back(node);
  } else {
    ForEachNode(tree, [&](Node node) { nodes.push_back(node); });
  }
  if (nodes.empty() || pick % 16 == 0) return nullptr;
  return nodes[(pick / 16) % nodes.size()];
}

// A drag of `dragged` dropped where the user lets go of it: on the label of
// the row of `onto` (brought into view first, as the drag's scrolling
// would), in its upper quarter, middle or lower quarter; or just below the
// last row.
void DragAndDrop(TaskForest& tree, Node dragged, Node onto, uint32_t where) {
  if (!dragged) return;
  const bool below = !onto || where % 4 == 3;
  if (below) {
    // Only where every row fits in the view of either forest, whose heights
    // differ: then the view is not scrolled and has room under its rows.
    int rows = 0;
    for (Node at = FirstChild(tree, kRootNode); at; at = tree.GetNext(at, Relation::kNextVisible)) ++rows;
    if (rows > 8) return;
    onto = tree.GetNext(nullptr, Relation::kLastVisible);
  }
  if (!onto) return;
  tree.EnsureVisible(onto);
  Rect label{};
  if (!tree.GetItemRect(onto, true, &label)) return;
  const int height = label.bottom - label.top;
  Point point{label.left + 2, below            ? label.bottom + 1
                              : where % 4 == 0 ? label.top + height / 8
                              : where % 4 == 1 ? label.top + height / 2
                                               : label.bottom - 1 - height / 8};
  DropTask(tree, dragged, FindDropTarget(tree, dragged, point, nullptr));
}

// Ends the label edit a command opened, as the user would: a name and
// Enter, or Esc.
void EndLabelEdit(TaskForest& tree, const Step& step) {
  if (!tree.GetEditControl()) return;
  if (!step.cancel) tree.SetEditText(step.text.c_str());
  tree.EndEditLabelNow(step.cancel);
}

// Properties opened on the node and OK pressed: auto-activation on 7 March
// 2008 between 9:00 and 11:59 (the run's minutes), at a time or at
// start-up, or none.
void ScheduleTask(TaskForest& tree, Node node, const Step& step) {
  TaskRecord* record = node ? RecordOf(tree, node) : nullptr;
  if (!record) return;
  HoldPropertiesRecord(record);
  PropertiesForm form = PropertiesFormOf(*record, App().clock->Now());
  form.autoActivate = step.yes;
  form.atTime = !step.cancel;
  form.autoDate = DateTime{2008, 3, 5, 7, 0, 0, 0, 0};
  form.autoTime = DateTime{
      2008, 3, 5, 7, static_cast<uint16_t>(9 + step.place % 3), static_cast<uint16_t>(step.place / 3 % 60),
      0,    0};
  StoreHeldProperties(form);
  HoldPropertiesRecord(nullptr);
}

class QuietOutlet final : public ActivationOutlet {
 public:
  void ShowBalloon(const char*, const char*) override {}
  void SendMailAlert(const char*, const char*) override {}
};

// The schedule against a walk of the register, at `now`.
std::string CompareDue(const DateTime& now) {
  std::vector<TaskRecord*> walked, scheduled = DueTasks(now);
  for (RegisterEntry* entry = FirstEntry(App().tasks); entry; entry = NextEntry(entry))
    if (IsDue(*EntryRecord(entry), now)) walked.push_back(EntryRecord(entry));
  std::sort(walked.begin(), walked.end());
  std::sort(scheduled.begin(), scheduled.end());
  if (walked == scheduled) return std::string();
  return "the schedule finds " + std::to_string(scheduled.size()) + " tasks due at " +
         std::to_string(now.hour) + ":" + std::to_string(now.minute) + ", a walk " +
         std::to_string(walked.size());
}

std::string Describe(const Step& step, TaskForest& tree, Node node) {
  static const char* const kTrees[] = {"Lists", "Active", "Done"};
  std::string out;
  for (const Weighted& w : kWeights)
    if (w.command == step.command) out = w.name;
  out += " in " + std::string(kTrees[step.tree]);
  out += node ? " on \"" + TaskName(tree, node).substr(0, 40) + "\"" : " on no node";
  if (step.command == Command::kNewTask || step.command == Command::kNewSubtask ||
      step.command == Command::kRename)
    out += step.cancel ? ", then Esc" : ", named \"" + step.text.substr(0, 40) + "\"";
  if (step.command == Command::kComplete || step.command == Command::kDelete)
    out += step.yes ? ", answering Yes" : ", answering No";
  return out;
}

}  // namespace

std::vector<Step> GenerateSequence(uint32_t seed) {
  std::mt19937 random(seed);
  int total = 0;
  for (const Weighted& w : kWeights) total += w.weight;
  std::vector<Step> steps(30 + random() % 91);
  for (Step& step : steps) {
    int roll = static_cast<int>(random() % static_cast<uint32_t>(total));
    const Weighted* chosen = kWeights;
    for (const Weighted& w : kWeights) {
      chosen = &w;
      if ((roll -= w.weight) < 0) break;
    }
    step.command = chosen->command;
    // Now and then where the command has nothing to do.
    if (random() % 10 == 0) {
      step.tree = static_cast<int>(random() % 3);
    } else {
      int where = static_cast<int>(
          random() % static_cast<uint32_t>(chosen->trees[0] + chosen->trees[1] + chosen->trees[2]));
      step.tree = where < chosen->trees[0] ? 0 : where < chosen->trees[0] + chosen->trees[1] ? 1 : 2;
    }
    step.pick = random();
    step.place = random();
    if (random() % 8 == 0)
      step.text = std::string(250 + random() % 20, static_cast<char>('a' + random() % 26));
    else
      step.text = kNames[random() % (sizeof kNames / sizeof kNames[0])];
    step.cancel = random() % 10 == 0;
    step.yes = random() % 4 != 0;
  }
  return steps;
}

std::string ApplyStep(const Step& step, ScriptedPrompts& prompts) {
  TaskForest& tree = *TreeOf(step.tree);
  Node node = Pick(tree, step.pick, step.command != Command::kActivate);
  const std::string said = Describe(step, tree, node);
  prompts.Answer(step.yes ? kAnswerYes : kAnswerNo);
  switch (step.command) {
    case Command::kNewTask:
    case Command::kNewSubtask:
      DispatchTreeCommand(tree, node, step.command == Command::kNewTask ? kCmdNewTask : kCmdNewSubtask);
      EndLabelEdit(tree, step);
      break;
    case Command::kRename:
      DispatchTreeCommand(tree, node, kCmdRename);
      EndLabelEdit(tree, step);
      break;
    case Command::kActivate:
      ActivateTask(tree, node);
      break;
    case Command::kDeactivate:
      DeactivateTask(tree, node);
      break;
    case Command::kSpace:
      HandleTreeKey(tree, node, kKeySpace, false);
      break;
    case Command::kComplete:
      DispatchTreeCommand(tree, node, kCmdComplete);
      break;
    case Command::kRestore:
      DispatchTreeCommand(tree, node, kCmdRestore);
      break;
    case Command::kDelete:
      DispatchTreeCommand(tree, node, kCmdDelete);
      break;
    case Command::kCut:
      DispatchTreeCommand(tree, node, kCmdCut);
      break;
    case Command::kPasteBelow:
      DispatchTreeCommand(tree, node, kCmdPasteBelow);
      break;
    case Command::kPasteInto:
      DispatchTreeCommand(tree, node, kCmdPasteInto);
      break;
    case Command::kExpand:
    case Command::kCollapse:
      HandleTreeKey(tree, node, step.command == Command::kExpand ? kKeyRight : kKeyLeft, false);
      break;
    case Command::kBold:
      HandleTreeKey(tree, node, 'H', true);
      break;
    case Command::kMove:
      DragAndDrop(tree, node, Pick(tree, step.place, true), step.place >> 16);
      break;
    case Command::kSchedule:
      ScheduleTask(tree, node, step);
      break;
    case Command::kCheck: {
      QuietOutlet outlet;
      RunActivationCheck(outlet);
      break;
    }
  }
  return said;
}

std::string CheckInvariants() {
  AppState& app = App();
  TaskForest& lists = *app.lists;
  TaskForest& active = *app.active;
  std::unordered_set<TaskRecord*> carried;
  std::unordered_map<Node, TaskRecord*> listsRecords, activeRecords;
  std::string problem;
  for (TaskForest* tree : {app.lists, app.active, app.done}) {
    ForEachNode(*tree, [&](Node node) {
      TaskRecord* record = RecordOf(*tree, node);
      if (!record) {
        problem = "\"" + TaskName(*tree, node) + "\" has no record";
        return;
      }
      if (!carried.insert(record).second) problem = "a record is carried twice";
      if (tree == app.lists) listsRecords[node] = record;
      if (tree == app.active) activeRecords[node] = record;
      if (tree == app.active && LevelOf(active, node) > 1) problem = "Active is more than two levels deep";
    });
  }
  if (!problem.empty()) return problem;
  if (app.tasks.count != listsRecords.size()) return "the register does not hold the Lists tasks alone";
  for (const auto& [node, record] : listsRecords) {
    const std::string name = "\"" + TaskName(lists, node) + "\"";
    if (!record->entry || record->treeitem != node) return name + " is not registered as itself";
    if (!record->link) continue;
    auto partner = activeRecords.find(record->link);
    if (partner == activeRecords.end() || partner->second->link != node)
      return name + " names no copy naming it";
    if (CheckStateOf(lists, node) != kChecked) return name + " has a copy but is not checked";
  }
  for (const auto& [node, record] : activeRecords) {
    if (!record->link) continue;
    auto partner = listsRecords.find(record->link);
    if (partner == listsRecords.end() || partner->second->link != node)
      return "the copy \"" + TaskName(active, node) + "\" names no task naming it";
  }
  for (const DateTime& at : {App().clock->Now(), DateTime{2008, 3, 5, 7, 11, 59, 0, 0}}) {
    problem = CompareDue(at);
    if (!problem.empty()) return problem;
  }
  return std::string();
}
