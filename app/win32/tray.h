// The tray icon, its balloons, its menu and the commands on it, and the
// About dialog.
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

// The About dialog's resource id and the icon it shows.
constexpr int kAboutDialogId = 104;
constexpr int kAboutIconId = 601;

// Adds the icon with identifier `id`, the tray message and the tip (cut to
// 127 characters; none gives an empty tip). The icon is destroyed after the
// call whatever became of it. true when the shell took it.
bool AddTrayIcon(HWND window, UINT id, HICON icon, const char* tip);
// Removes the icon again.
void RemoveTrayIcon(HWND window, UINT id);
// The information balloon on icon 0: title cut to 63 characters, text to
// 255, 15 s; the tooltip windows are made topmost so that it shows above
// other topmost windows. true when the shell took it.
bool ShowBalloon(HWND window, const char* title, const char* text);

// Opens "SysTrayPopupMenu" at (x, y) in screen coordinates and returns when
// it has closed; the choice arrives as WM_COMMAND.
void OpenTrayMenu(HWND window, int x, int y);
// The menu while it is open, else null: WM_COMMAND compares lParam with it.
HMENU TrackedTrayMenu();
// Runs tray command `id` (others do nothing). Answers 0.
LRESULT RunTrayCommand(HWND window, int id);

// The hidden modeless About dialog, owned by the main window.
HWND CreateAboutDialog(HINSTANCE instance, HWND owner);
