// The About dialog: hidden, modeless, owned by the main window.
#pragma once

#include <windows.h>

// The dialog's resource id and the icon it shows.
constexpr int kAboutDialogId = 104;
constexpr int kAboutIconId = 601;

HWND CreateAboutDialog(HINSTANCE instance, HWND owner);
// Shows it in front (none: nothing).
void ShowAbout(HWND about);
