#pragma once

#include "base/clock.h"

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
