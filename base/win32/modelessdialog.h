// The skeleton of the organiser's modeless dialogs (Properties, Settings,
// Select Skin, About): each is a record, a procedure for its own messages
// and one public show function; the skeleton does what all do alike.
// - The record sits in the DWLP_USER slot from WM_INITDIALOG on. A record
//   the dialog owns is released on WM_NCDESTROY, the last message a window
//   gets, so that no message of the dialog's end finds it gone.
// - While active, the dialog is the application state's active dialog: the
//   message loop offers it every message first (Tab, Enter and Escape).
// - Each is made once and only hidden afterwards: its close box hides it.
#pragma once

#include <windows.h>

#include "base/appstate.h"
#include "base/win32/dialogdata.h"

// Whether the dialog owns its record (made for it, released with it) or
// borrows one that outlives it.
enum class DialogRecord { kOwned, kBorrowed };

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

// The procedure of every modeless dialog: the messages above here, the
// others (WM_INITDIALOG too, after its record is kept) to `Messages`.
template <typename Record, DialogRecord kRecord, DLGPROC Messages>
INT_PTR CALLBACK ModelessDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      KeepDialogData(dialog, lParam);
      return Messages(dialog, message, wParam, lParam);
    case WM_ACTIVATE:
      NoteActiveDialog(dialog, wParam);
      return FALSE;
    case WM_SYSCOMMAND:
      return HideOnClose(dialog, wParam);
    case WM_NCDESTROY:
      if constexpr (kRecord == DialogRecord::kOwned)
        DeleteDialogData<Record>(dialog);
      else
        KeepDialogData(dialog, 0);
      return FALSE;
    default:
      return Messages(dialog, message, wParam, lParam);
  }
}

// Makes the dialog, hidden, with its record; null when it cannot be made,
// and an owned record is then released at once.
template <typename Record, DialogRecord kRecord, DLGPROC Messages>
HWND CreateModelessDialog(HINSTANCE instance, int resource, HWND owner, Record* record) {
  HWND dialog =
      CreateDialogParamA(instance, MAKEINTRESOURCEA(resource), owner,
                         ModelessDialogProc<Record, kRecord, Messages>, reinterpret_cast<LPARAM>(record));
  if constexpr (kRecord == DialogRecord::kOwned) {
    if (!dialog) delete record;
  }
  return dialog;
}

// Shows the dialog in front of the others.
inline void ShowModelessDialog(HWND dialog) {
  ShowWindow(dialog, SW_SHOW);
  SetForegroundWindow(dialog);
}
