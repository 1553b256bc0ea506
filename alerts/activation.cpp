#include "alerts/activation.h"

#include <vector>

#include "base/appstate.h"
#include "base/clock.h"
#include "base/prompts.h"
#include "base/taskrecord.h"
#include "data/datetext.h"
#include "tree/commands.h"
#include "tree/tasktree.h"
#include "tree/treetext.h"

const char kActivationTitle[] = "Velkin Task Activation";

namespace {

DateTime Now() {
  Clock* clock = App().clock ? App().clock : SystemClock();
  return clock->Now();
}

// Stands in for the prompts while a check runs, counting the boxes shown.
// A box runs a message loop in which the user may delete tasks, so records
// found before it must be looked up again after it.
class CountingPrompts final : public Prompts {
 public:
  CountingPrompts() : inner_(App().prompts) {
    if (inner_) App().prompts = this;
  }
  ~CountingPrompts() override {
    if (inner_) App().prompts = inner_;
  }
  CountingPrompts(const CountingPrompts&) = delete;
  CountingPrompts& operator=(const CountingPrompts&) = delete;

  int Show(Handle owner, const char* text, const char* title, unsigned style) override {
    ++shown_;
    return inner_->Show(owner, text, title, style);
  }
  int shown() const { return shown_; }

 private:
  Prompts* inner_;
  int shown_ = 0;
};

bool IsRegistered(const TaskRegister& tasks, const TaskRecord* record) {
  for (RegisterEntry* entry = FirstEntry(tasks); entry; entry = NextEntry(entry))
    if (EntryRecord(entry) == record) return true;
  return false;
}

class Check {
 public:
  explicit Check(ActivationOutlet& outlet) : outlet_(outlet) {}

  int Run() {
    AppState& app = App();
    if (!app.lists) return 0;
    const DateTime now = Now();
    // The due tasks first, handled after: handling one changes nothing in
    // the register, but a box it shows lets the user do so.
    std::vector<TaskRecord*> due;
    for (RegisterEntry* entry = FirstEntry(app.tasks); entry; entry = NextEntry(entry)) {
      TaskRecord* record = EntryRecord(entry);
      if (record && record->autoactivate && IsDue(*record, now)) due.push_back(record);
    }
    int handled = 0;
    for (TaskRecord* record : due)
      if (StillThere(record) && Handle(*app.lists, record)) ++handled;
    return handled;
  }

 private:
  bool StillThere(const TaskRecord* record) {
    if (prompts_.shown() == boxesSeen_) return true;
    boxesSeen_ = prompts_.shown();
    return IsRegistered(App().tasks, record);
  }

  bool Handle(TaskForest& lists, TaskRecord* record) {
    const Node node = record->treeitem;
    // Does nothing to a task already active; the rest happens anyway.
    ActivateTask(lists, node);
    if (!StillThere(record)) return false;
    if (record->notify) {
      char name[kNameSize];
      if (!GetTaskName(lists, node, name, sizeof name)) name[0] = '\0';
      outlet_.ShowBalloon(kActivationTitle, name);
    }
    if (record->email) {
      ActivationAlert alert;
      if (BuildActivationAlert(lists, node, &alert))
        outlet_.SendMailAlert(alert.subject.c_str(), alert.body.c_str());
    }
    record->autoactivate = 0;
    return true;
  }

  ActivationOutlet& outlet_;
  CountingPrompts prompts_;
  int boxesSeen_ = 0;
};

bool SameMinute(const DateTime& a, const DateTime& b) {
  return CompareDateTime(a, b) == 0;
}

}  // namespace

int ActivationMomentOf(const TaskRecord& record, DateTime* moment) {
  DateTime date{};
  ParseDate(date, record.autodate);
  if (date.year < 1 || date.month < 1 || date.month > 12 || date.day < 1 || date.day > 31) return 0;
  DateTime at{};
  if (record.autotimeset)
    ParseTime(at, record.autotime);
  else
    ClearTime(at);
  at.year = date.year;
  at.month = date.month;
  at.day = date.day;
  if (moment) *moment = at;
  return 1;
}

bool IsDue(const TaskRecord& record, const DateTime& now) {
  DateTime moment;
  return record.autoactivate && ActivationMomentOf(record, &moment) && CompareDateTime(now, moment) >= 0;
}

int RunActivationCheck(ActivationOutlet& outlet) {
  static bool running = false;
  if (running) return 0;
  running = true;
  const int handled = Check(outlet).Run();
  running = false;
  return handled;
}

bool ActivationTimerTick(ActivationTimer& timer, ActivationOutlet& outlet) {
  const DateTime now = Now();
  // The whole minute, not its number alone: after a sleep of exactly an
  // hour the check must not wait for the next minute.
  if (timer.started && SameMinute(now, timer.minute)) return false;
  // Remembered first: a box the check shows lets further ticks in.
  timer.started = true;
  timer.minute = now;
  RunActivationCheck(outlet);
  return true;
}
