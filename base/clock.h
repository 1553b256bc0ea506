// The clock: the one way the core learns the local time.
#pragma once

#include "base/platform.h"

class Clock {
 public:
  virtual ~Clock() = default;
  // The current local time (GetLocalTime on Windows).
  virtual DateTime Now() = 0;
};

// A clock that stands still until told otherwise; tests and benchmarks use
// it so that stamps are reproducible.
class ManualClock final : public Clock {
 public:
  explicit ManualClock(const DateTime& now) : now_(now) {}
  DateTime Now() override { return now_; }
  void Set(const DateTime& now) { now_ = now; }

 private:
  DateTime now_;
};

// The host's own local time; the Win32 build supplies GetLocalTime, the
// native build the C library's localtime.
Clock* SystemClock();
