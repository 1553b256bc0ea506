// What every modeless dialog of the organiser does alike. Each names
// itself the application state's active dialog while it is active, and the
// message loop then offers it every message first (Tab, Enter and Escape in
// the dialog). Each is made once and only hidden afterwards: its close box
// hides it.
#pragma once

#include <windows.h>

#include "base/appstate.h"

// The dialog's answer to WM_ACTIVATE.
inline void NoteActiveDialog(HWND dialog, WPARAM activation) {
  AppState& app = App();
  if (LOWORD(activation) != WA_INACTIVE)
    app.activeDialog = dialog;
  else if (app.activeDialog == dialog)
    app.activeDialog = nullptr;
}

// The dialog's answer to WM_SYSCOMMAND: TRUE when it was the close box.
inline INT_PTR HideOnClose(HWND dialog, WPARAM command) {
  if ((command & 0xFFF0) != SC_CLOSE) return FALSE;
  ShowWindow(dialog, SW_HIDE);
  return TRUE;
}
