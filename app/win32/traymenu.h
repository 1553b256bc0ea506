// The tray icon's menu and the commands on it.
#pragma once

#include <windows.h>

// Tray menu command ids.
enum TrayCommand : int {
  kTraySelectSkin = 551,
  kTraySettings = 552,
  kTrayHelp = 554,
  kTrayExit = 555,
  kTrayBackupLists = 556,
  kTrayManageBackups = 557,
  kTrayAbout = 558,
  kTrayAddTask = 559,
  kTrayExport = 560,
};

// Opens "SysTrayPopupMenu" at (x, y) in screen coordinates and returns when
// it has closed; the choice arrives as WM_COMMAND.
void OpenTrayMenu(HWND window, int x, int y);
// The menu while it is open, else null: WM_COMMAND compares lParam with it.
HMENU TrackedTrayMenu();
// Runs tray command `id` (others do nothing). Answers 0.
LRESULT RunTrayCommand(HWND window, int id);
