// The main window's procedure: the frame, the tray icon's messages, the
// tray menu's commands and the notifications of its children.
#pragma once

#include <windows.h>

// The message the tray icon sends to the main window.
constexpr UINT kTrayIconMessage = 0x6FE5;
// The activation tick's timer on the main window.
constexpr UINT_PTR kActivationTimer = 2;

// The procedure of the "Velkin 1.0" window class.
LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// True when the last WM_CLOSE or WM_ENDSESSION could not save the lists.
bool ListsSaveFailed();
