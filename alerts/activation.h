// The activation check: a task of the Lists tab set to activate itself at
// a date (and a time, or the start of that day) activates at the first
// check at or after that moment, exactly as the user's activate command
// would, then shows its balloon and sends its e-mail alert if it asks for
// them. Each setting fires once. Portable: the time comes from the
// application clock, the balloon and the mail go through an outlet.
#pragma once

#include <vector>

#include "base/platform.h"

struct TaskRecord;

// What a due task sets off besides its activation.
class ActivationOutlet {
 public:
  virtual ~ActivationOutlet() = default;
  // The tray balloon.
  virtual void ShowBalloon(const char* title, const char* text) = 0;
  // An e-mail alert, sent on a thread of its own (StartMailAlert).
  virtual void SendMailAlert(const char* subject, const char* body) = 0;
};

// The balloon's title.
extern const char kActivationTitle[];  // "Velkin Task Activation"
// The most a balloon's text holds, its zero included (the tray's szInfo).
constexpr unsigned kBalloonTextSize = 256;

// The timer that runs the check: id 2 on the main window, every second.
constexpr unsigned kActivationTimerId = 2;
constexpr unsigned kActivationTimerMs = 1000;

// The moment the record's auto-activation is set for: its date at its
// time, or at 00:00 when no time is set. 0 when the date text is not a
// whole date (possible only from an edited list file): such a task never
// comes due, and keeps its setting for the user to mend.
int ActivationMomentOf(const TaskRecord& record, DateTime* moment);
// Waiting for auto-activation, and the moment is now or past.
bool IsDue(const TaskRecord& record, const DateTime& now);

// With one reading of the clock, takes the due tasks from the register's
// schedule, earliest moment first, and activates each (nothing happens to
// one already active) and clears its setting. Then one balloon for those
// that notify and one e-mail for those that mail: for a single task its
// name and the alert of BuildActivationAlert, for several one text naming
// them all. Answers the number of tasks handled. A check asked for while
// one is under way (from a box it showed) does nothing.
int RunActivationCheck(ActivationOutlet& outlet);

// The tasks a check at `now` would take, in its order (placing first what
// the schedule has noted): for the checks that compare the schedule with
// a walk of the register.
std::vector<TaskRecord*> DueTasks(const DateTime& now);

// The remembered minute of the timer: none before the first tick.
struct ActivationTimer {
  bool started;
  DateTime minute;
};
// A tick of the timer: runs the check when the clock shows another minute
// than at the last tick that ran it (so within a second of each new
// minute, and at the first tick). true when the check ran.
bool ActivationTimerTick(ActivationTimer& timer, ActivationOutlet& outlet);
