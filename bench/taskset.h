// A realistic task set for the benchmarks: Lists items up to six deep with
// everyday names and stamps, a share of them activated with their linked
// copies in Active, and a Done folder a tenth the size. The application
// state must already name the three forests (InsertTask registers Lists).
#pragma once

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "base/appstate.h"
#include "base/clock.h"
#include "base/prompts.h"
#include "base/taskrecord.h"
#include "data/datetext.h"
#include "data/treerecords.h"
#include "fakes/manualclock.h"
#include "fakes/memoryforest.h"
#include "fakes/scriptedprompts.h"
#include "tree/tasktree.h"

inline std::string RandomStamp(std::mt19937& rng) {
  DateTime t{};
  t.year = static_cast<uint16_t>(2018 + rng() % 9);
  t.month = static_cast<uint16_t>(1 + rng() % 12);
  t.day = static_cast<uint16_t>(1 + rng() % 28);
  t.hour = static_cast<uint16_t>(rng() % 24);
  t.minute = static_cast<uint16_t>(rng() % 60);
  return FormatStamp(t);
}

inline void GenerateTaskSet(TaskForest& lists, TaskForest& active, TaskForest& done, int count,
                            int activatedPercent) {
  static const char* const kVerbs[] = {"Call", "Email",  "Buy",   "Fix",   "Write",   "Review",
                                       "Plan", "Book",   "Pay",   "Clean", "Prepare", "Send",
                                       "Read", "Update", "Check", "Order"};
  static const char* const kThings[] = {
      "the quarterly report", "milk and bread", "the dentist",          "invoice #4411",
      "slides for Monday",    "car insurance",  "the garden fence",     "a birthday present for Anna",
      "flight to Lisbon",     "project budget", "the leaking tap",      "chapter 3 notes",
      "team offsite agenda",  "library books",  "tax return documents", "backup drive"};
  std::mt19937 rng(20261207);
  Node today = InsertTask(active, kRootNode, kLastNode, "Today");
  ToggleBold(active, today);
  Node completed = InsertTask(done, kRootNode, kLastNode, "Completed");
  ToggleBold(done, completed);

  std::vector<Node> path;  // the current chain of ancestors
  for (int i = 0; i < count; ++i) {
    size_t depth = path.empty() ? 0 : rng() % (std::min<size_t>(path.size(), 5) + 1);
    path.resize(depth);
    Node parent = path.empty() ? kRootNode : path.back();
    std::string name = std::string(kVerbs[rng() % 16]) + " " + kThings[rng() % 16];
    Node n = InsertTask(lists, parent, kLastNode, name.c_str());
    TaskRecord* r = RecordOf(lists, n);
    CopyField(r->enterdate, RandomStamp(rng).c_str());
    if (depth == 0) ToggleBold(lists, n);
    if (rng() % 4 == 0) {
      r->duedateset = 1;
      DateTime due{
          2027, static_cast<uint16_t>(1 + rng() % 12), 0, static_cast<uint16_t>(1 + rng() % 28), 0, 0, 0, 0};
      CopyField(r->duedate, FormatDate(due).c_str());
    }
    if ((depth > 0 || activatedPercent == 100) && static_cast<int>(rng() % 100) < activatedPercent) {
      Node copy = InsertTask(active, today, kLastNode, name.c_str());
      TaskRecord* c = RecordOf(active, copy);
      r->link = copy;
      c->link = n;
      CopyField(r->activedate, RandomStamp(rng).c_str());
      ToggleChecked(lists, n);
    }
    if (rng() % 10 == 0) {
      Node d = InsertTask(done, completed, kLastNode, name.c_str());
      CopyField(RecordOf(done, d)->completedate, RandomStamp(rng).c_str());
    }
    if (depth < 6) path.push_back(n);
  }
  for (Node top = FirstChild(lists, kRootNode); top; top = NextSibling(lists, top))
    lists.Expand(top, ExpandAction::kExpand);
  active.Expand(today, ExpandAction::kExpand);
}

// The application state wired to in-memory trees holding such a set, for
// as long as it lives.
class TaskSetWorld {
 public:
  TaskSetWorld(int count, int activatedPercent) {
    AppState& app = App();
    app.lists = &lists_;
    app.active = &active_;
    app.done = &done_;
    app.prompts = &prompts_;
    app.clock = &clock_;
    GenerateTaskSet(lists_, active_, done_, count, activatedPercent);
  }
  ~TaskSetWorld() {
    for (TaskForest* tree : {&lists_, &active_, &done_}) ClearTaskTree(*tree);
    ClearRegister(App().tasks);
    ResetAppState();
  }
  TaskSetWorld(const TaskSetWorld&) = delete;
  TaskSetWorld& operator=(const TaskSetWorld&) = delete;

 private:
  MemoryForest lists_{true};
  MemoryForest active_{false};
  MemoryForest done_{false};
  ScriptedPrompts prompts_;
  ManualClock clock_{DateTime{2026, 12, 1, 7, 9, 5, 0, 0}};
};

// The least any pass over the register must do: visit every record once.
inline size_t PlainWalk(const TaskRegister& tasks) {
  size_t waiting = 0;
  for (RegisterEntry* entry = FirstEntry(tasks); entry; entry = NextEntry(entry))
    waiting += EntryRecord(entry)->autoactivate != 0;
  return waiting;
}
