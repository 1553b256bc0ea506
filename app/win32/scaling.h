// The main window at its monitor's scale: the views' fonts and check boxes
// made for a DPI, and the move to a monitor of another scale.
#pragma once

#include <windows.h>

// Gives the trees, the tab control and the calendar their fonts, and the
// Lists tree the program's check boxes, for `dpi`, then lays the views out.
void ScaleViews(HWND main, int dpi);

// WM_DPICHANGED: the views made for the new `dpi` and the window put at
// the `suggested` rectangle, kept on the edges of its work area it sat on.
LRESULT OnDpiChanged(HWND main, int dpi, const RECT* suggested);
