// What the main window and its parts (tray menu, skinned frame, calendar,
// activation tick, instance) keep between messages, in one record. The
// application state holds what the layers below share; this is the shell's
// own.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <vector>

#include "alerts/activation.h"
#include "app/calendar.h"
#include "base/platform.h"
#include "base/win32/dpi.h"
#include "base/win32/scoped.h"

class SettingsStore;

struct MainWindowState {
  // Where the window's settings are kept; none: the registry's store.
  SettingsStore* settingsStore = nullptr;
  // Whether the last close could not save the lists.
  bool listsSaveFailed = false;
  // Set when the window has asked for WM_MOUSELEAVE and not yet had it.
  bool leaveTracking = false;
  // The tray menu while it is open.
  HMENU trackedTrayMenu = nullptr;
  // Set while the skinned title bar is held; the grab point is where it
  // was pressed.
  bool moving = false;
  Point grab = {0, 0};
  // Held from start-up until the window is destroyed.
  ScopedOwnedMutex instanceMutex;
  // The activation tick's last minute.
  ActivationTimer activationTimer = {};
  // The calendar, one for the program's lifetime: the control's own
  // procedure, its day tooltip and the window the tool is registered under,
  // the day under the pointer.
  WNDPROC previousCalendarProc = nullptr;
  HWND calendarTooltip = nullptr;
  HWND tooltipOwner = nullptr;
  DayHover hover = {};
  // The calendar's and the tab strip's fonts, made for the window's DPI.
  ScaledFont calendarFont{10, FW_NORMAL, NONANTIALIASED_QUALITY};
  ScaledFont tabFont{12, FW_NORMAL, DEFAULT_QUALITY};
  // The answer to a day-state request that brought no array of its own.
  std::vector<MONTHDAYSTATE> dayStates;
};

// The process-wide record.
MainWindowState& MainState();
