// The tab control and the switch between the four views.
#pragma once

#include <windows.h>

// Tab indices, in the order of the tab control.
enum TabIndex : int { kTabLists = 0, kTabActive = 1, kTabDone = 2, kTabCalendar = 3, kTabCount = 4 };

// The tab control at (0, 0) over the main window's client area, with its
// font and the four tabs. None when it cannot be made.
HWND CreateTabControl(HINSTANCE instance, HWND mainWindow);
// Gives the tab control its own font for `dpi`, deleting the one it had.
void ScaleTabFont(HWND tabs, int dpi);
// Makes the view of tab `index` the current one, raises it, repaints it and
// gives it the focus; "Unknown tab!" for an index outside 0 to 3.
void SelectTab(int index);
// Lists -> Active -> Done -> Calendar -> Lists.
void SelectNextTab();
// The tab index of the current view (the calendar for anything else).
int CurrentTabIndex();
// The view (tree or calendar) of a tab; none outside 0 to 3.
HWND ViewOfTab(int index);
