// The record a dialog keeps in its DWLP_USER slot: put there when the
// dialog is made, read by every later message.
#pragma once

#include <windows.h>

template <typename T>
T* DialogData(HWND dialog) {
  return reinterpret_cast<T*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

// The WM_INITDIALOG parameter becomes the dialog's record.
inline void KeepDialogData(HWND dialog, LPARAM data) {
  SetWindowLongPtrA(dialog, DWLP_USER, data);
}

// For a record the dialog owns: released with the dialog, the slot cleared.
template <typename T>
void DeleteDialogData(HWND dialog) {
  delete DialogData<T>(dialog);
  SetWindowLongPtrA(dialog, DWLP_USER, 0);
}
