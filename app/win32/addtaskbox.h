// The "Add Task" box: one edit, shown in front of whatever the user is
// doing by the quick-add hot key or the tray's "Add Task...", without the
// main window. Enter adds each line typed or pasted as a task at the end
// of the Inbox; Escape closes.
#pragma once

#include <windows.h>

constexpr int kAddTaskBoxId = 105;
constexpr int kAddTaskEdit = 301;

// The hidden box, owned by the main window.
HWND CreateAddTaskBox(HINSTANCE instance, HWND owner);
HWND AddTaskBox();
// Empties the edit and brings the box to the front with the focus.
void ShowAddTaskBox();
// WM_HOTKEY of the main window.
LRESULT OnQuickAddHotKey(WPARAM id);
