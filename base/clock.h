// The clock: the one way the core learns the local time.
#pragma once

#include "base/platform.h"

class Clock {
 public:
  virtual ~Clock() = default;
  // The current local time (GetLocalTime on Windows).
  virtual DateTime Now() = 0;
};

// The host's own local time; the Win32 build supplies GetLocalTime, the
// native build the C library's localtime.
Clock* SystemClock();
