// The modeless dialogs' part in the message loop: a dialog names itself the
// application state's active dialog while it is active, and the loop then
// offers it every message first (Tab, Enter and Escape in the dialog).
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
