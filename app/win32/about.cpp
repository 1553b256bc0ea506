#include "app/win32/about.h"

#include "base/win32/modelessdialog.h"

namespace {

// Its own messages; the skeleton answers the others. It has no record.
INT_PTR CALLBACK AboutMessages(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) != IDOK && LOWORD(wParam) != IDCANCEL) return FALSE;
      ShowWindow(dialog, SW_HIDE);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

HWND CreateAboutDialog(HINSTANCE instance, HWND owner) {
  return CreateModelessDialog<void, DialogRecord::kBorrowed, AboutMessages>(instance, kAboutDialogId, owner,
                                                                            nullptr);
}

void ShowAbout(HWND about) {
  if (about) ShowModelessDialog(about);
}
