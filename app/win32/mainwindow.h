// The main window: its procedure, the tab switch and the window side of the
// tree commands.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "tree/commands.h"

// Tab indices, in the order of the tab control.
enum TabIndex : int { kTabLists = 0, kTabActive = 1, kTabDone = 2, kTabCalendar = 3, kTabCount = 4 };

// The message the tray icon sends to the main window.
constexpr UINT kTrayIconMessage = 0x6FE5;
// The activation tick's timer on the main window.
constexpr UINT_PTR kActivationTimer = 2;

// The procedure of the "Velkin 1.0" window class.
LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The tab control at (0, 0) over the main window's client area, with its
// font and the four tabs. None when it cannot be made.
HWND CreateTabControl(HINSTANCE instance, HWND mainWindow);
// Makes the view of tab `index` the current one, raises it, repaints it and
// gives it the focus; "Unknown tab!" for an index outside 0 to 3.
void SelectTab(int index);
// Lists -> Active -> Done -> Calendar -> Lists.
void SelectNextTab();
// The tab index of the current view (the calendar for anything else).
int CurrentTabIndex();

// The tree commands' view of the window side, on the real windows.
class Win32TreeHost final : public TreeHost {
 public:
  TaskForest* CurrentView() override;
  void FocusCurrentView() override;
  void RepaintTree(TaskForest& tree) override;
  void ScrollLine(TaskForest& tree, bool up) override;
  void CloseMainWindow() override;
  void SelectNextTab() override;
  void SaveSettings() override;
  void RunActivationCheck() override;
  void ShowPropertiesDialog(TaskRecord* record, bool editable) override;
  void GuardLabelEdit(Handle edit) override;
};

// The program's host (one per process).
Win32TreeHost& MainTreeHost();

class SettingsStore;
// Reads and saves the window's settings through the registry store, or
// through the store given here (tests; none goes back to the registry).
void ReadMainWindowSettings();
void SaveMainWindowSettings();
// True when the last WM_CLOSE or WM_ENDSESSION could not save the lists.
bool ListsSaveFailed();
void UseSettingsStore(SettingsStore* store);

// The single-instance mutex taken at start-up; released with WM_DESTROY so
// that a new instance can start while this one is still ending.
void KeepInstanceMutex(HANDLE mutex);
void ReleaseInstanceMutex();
