// The screens the main window can be placed on.
#pragma once

#include <windows.h>

#include <vector>

#include "base/platform.h"
#include "base/win32/workarea.h"

// The work areas of every monitor attached now; at least the primary one.
std::vector<Rect> ScreenWorkAreas();
// The work area of `monitor`; the primary one when the system cannot say.
Rect MonitorWorkArea(HMONITOR monitor);
