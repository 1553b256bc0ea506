// Enter and Escape in the edit and list of a small box: the box gets
// IDOK and IDCANCEL whether or not the message loop passes its messages
// through the dialog manager (a multi-line edit would otherwise take
// Enter as a line break). Up and Down in the edit move the list's
// selection when the box has one.
#pragma once

#include <windows.h>

// `list` may be null.
void RouteBoxKeys(HWND control, HWND list);
