// The screens the main window can be placed on.
#pragma once

#include <vector>

#include "base/platform.h"

// The primary work area (the desktop less the task bar); the whole primary
// screen when the system cannot say.
Rect WorkArea();
// The work areas of every monitor attached now; at least the primary one.
std::vector<Rect> ScreenWorkAreas();
