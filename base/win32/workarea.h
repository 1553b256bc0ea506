// The desktop's work area: where windows are placed and snapped.
#pragma once

#include "base/platform.h"

// The primary work area (the desktop less the task bar); the whole primary
// screen when the system cannot say.
Rect WorkArea();
