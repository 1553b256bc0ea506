#include "app/win32/about.h"

#include "base/win32/activedialog.h"

namespace {

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        ShowWindow(dialog, SW_HIDE);
        return TRUE;
      }
      return FALSE;
    case WM_ACTIVATE:
      NoteActiveDialog(dialog, wParam);
      return FALSE;
    case WM_SYSCOMMAND:
      return HideOnClose(dialog, wParam);
    default:
      return FALSE;
  }
}

}  // namespace

HWND CreateAboutDialog(HINSTANCE instance, HWND owner) {
  return CreateDialogParamA(instance, MAKEINTRESOURCEA(kAboutDialogId), owner, AboutDialogProc, 0);
}

void ShowAbout(HWND about) {
  if (!about) return;
  ShowWindow(about, SW_SHOW);
  SetForegroundWindow(about);
}
