// Real tree windows for the Win32 tests: made by CreateTaskTree under a
// hidden top-level window that plays the main window, whose WM_NOTIFY goes
// where the program's does (custom draw, label-edit notifications).
#pragma once

#include <windows.h>

#include <memory>

#include "base/win32/treeview_forest.h"

// The stand-in main window, made on first use; client area 400 x 300.
HWND TestMainWindow();

// A task tree as the program makes it (CreateTaskTree, AttachTreeImages),
// wrapped in a forest that destroys the window with itself.
std::unique_ptr<TreeViewForest> MakeTreeForest(bool checkBoxes);

// Handles whatever is waiting in the thread's queue.
void PumpMessages();
