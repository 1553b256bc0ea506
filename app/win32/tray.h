// The tray icon and its balloons.
#pragma once

#include <windows.h>

// Adds the icon with identifier `id`, the tray message and the tip (cut to
// 127 characters; none gives an empty tip). The icon stays the caller's.
// true when the shell took it.
bool AddTrayIcon(HWND window, UINT id, HICON icon, const char* tip);
// Removes the icon again.
void RemoveTrayIcon(HWND window, UINT id);
// The information balloon on icon 0: title cut to 63 characters, text to
// 255, 15 s; the tooltip windows are made topmost so that it shows above
// other topmost windows. true when the shell took it.
bool ShowBalloon(HWND window, const char* title, const char* text);
