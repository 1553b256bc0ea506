// The "Find Task" box: an edit and a list of the tasks of the three tabs
// whose names hold what is typed. Enter or a double-click shows the chosen
// task selected in its tab, its parents expanded; Escape closes.
#pragma once

#include <windows.h>

constexpr int kFindBoxId = 106;
constexpr int kFindEdit = 311;
constexpr int kFindList = 312;

// The hidden box, owned by the main window.
HWND CreateFindBox(HINSTANCE instance, HWND owner);
HWND FindBox();
// Takes the tasks afresh and shows the box (Ctrl+E, F3).
void ShowFindBox();
