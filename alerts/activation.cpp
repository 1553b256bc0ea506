#include "alerts/activation.h"

#include <cstring>
#include <string>
#include <vector>

#include "base/appstate.h"
#include "base/clock.h"
#include "base/prompts.h"
#include "base/schedule.h"
#include "base/taskrecord.h"
#include "data/datetext.h"
#include "tree/commands.h"
#include "tree/tasktree.h"

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

// "3 tasks became active: Pay rent, Renew insurance, ..." within the
// balloon's text: as many whole names as fit, then "..." for the rest.
std::string CatchUpBalloonText(const std::vector<std::string>& names) {
  std::string text = std::to_string(names.size()) + " tasks became active: ";
  const size_t limit = kBalloonTextSize - 1;
  for (size_t i = 0; i < names.size(); ++i) {
    const std::string piece = (i ? ", " : "") + names[i];
    // Room for the name, and for ", ..." after it unless it is the last.
    if (text.size() + piece.size() + (i + 1 < names.size() ? 5 : 0) > limit) {
      text += i ? ", ..." : "...";
      break;
    }
    text += piece;
  }
  return text;
}

MomentKey KeyOf(const DateTime& moment) {
  // Month and day are at most 31 here; hour and minute keep their 16 bits,
  // as an edited list file may give any number.
  return static_cast<MomentKey>(moment.year) << 48 | static_cast<MomentKey>(moment.month & 0xFF) << 40 |
         static_cast<MomentKey>(moment.day & 0xFF) << 32 | static_cast<MomentKey>(moment.hour) << 16 |
         moment.minute;
}

MomentKey ScheduledMomentOf(const TaskRecord& record) {
  DateTime moment;
  return record.autoactivate && ActivationMomentOf(record, &moment) ? KeyOf(moment) : kNoMoment;
}

class Check {
 public:
  explicit Check(ActivationOutlet& outlet) : outlet_(outlet) {}

  int Run() {
    AppState& app = App();
    if (!app.lists) return 0;
    // The due tasks first, handled after: handling one changes nothing in
    // the register, but a box it shows lets the user do so.
    const std::vector<ScheduledTask> due = ScheduledUpTo(app.tasks, KeyOf(Now()), ScheduledMomentOf);
    for (const ScheduledTask& task : due)
      if (StillThere(task)) Handle(*app.lists, task);
    Announce();
    return static_cast<int>(handled_.size());
  }

 private:
  // A box lets the user delete or edit any task: after one, every record
  // still to be handled is looked up again.
  bool StillThere(const ScheduledTask& task) {
    return prompts_.shown() == 0 || StillScheduled(App().tasks, task);
  }

  void Handle(TaskForest& lists, const ScheduledTask& task) {
    TaskRecord* record = task.record;
    // Does nothing to a task already active; the rest happens anyway.
    ActivateTask(lists, record->treeitem);
    if (!StillThere(task)) return;
    char name[kNameSize];
    if (!GetTaskName(lists, record->treeitem, name, sizeof name)) name[0] = '\0';
    handled_.push_back(name);
    if (record->notify) notified_.push_back(name);
    if (record->email) mailed_.push_back(name);
    record->autoactivate = 0;
    DropFromSchedule(App().tasks, record);
  }

  // One balloon and one e-mail for the whole check: after days away a
  // start would otherwise send one message per task.
  void Announce() {
    if (notified_.size() == 1) outlet_.ShowBalloon(kActivationTitle, notified_[0].c_str());
    if (notified_.size() > 1) outlet_.ShowBalloon(kActivationTitle, CatchUpBalloonText(notified_).c_str());
    if (mailed_.empty()) return;
    // Built now, so that the Active tree's text shows every task activated.
    ActivationAlert alert;
    if (mailed_.size() == 1)
      BuildActivationAlertFor(mailed_[0].c_str(), &alert);
    else
      BuildCatchUpAlert(mailed_, &alert);
    outlet_.SendMailAlert(alert.subject.c_str(), alert.body.c_str());
  }

  ActivationOutlet& outlet_;
  CountingPrompts prompts_;
  std::vector<std::string> handled_, notified_, mailed_;
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
  // A time without its colon (an edited file) reads as the present time of
  // day, which any moment of that day has reached: the day's start.
  if (record.autotimeset && std::strchr(record.autotime, ':'))
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

std::vector<TaskRecord*> DueTasks(const DateTime& now) {
  std::vector<TaskRecord*> due;
  for (const ScheduledTask& task : ScheduledUpTo(App().tasks, KeyOf(now), ScheduledMomentOf))
    due.push_back(task.record);
  return due;
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
