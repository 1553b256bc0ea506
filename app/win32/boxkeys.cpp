#include "app/win32/boxkeys.h"

#include <commctrl.h>

namespace {

void MoveListSelection(HWND list, int step) {
  const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
  if (count <= 0) return;
  int at = static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0)) + step;
  if (at < 0) at = 0;
  if (at >= count) at = count - 1;
  SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(at), 0);
}

// true when the key was the box's.
bool OnBoxKey(HWND control, WPARAM key, HWND list) {
  HWND box = GetParent(control);
  switch (key) {
    case VK_RETURN:
      PostMessageA(box, WM_COMMAND, IDOK, 0);
      return true;
    case VK_ESCAPE:
      PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
      return true;
    case VK_UP:
    case VK_DOWN:
      if (!list || list == control) return false;
      MoveListSelection(list, key == VK_UP ? -1 : 1);
      return true;
    default:
      return false;
  }
}

LRESULT CALLBACK BoxKeysProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                             DWORD_PTR list) {
  switch (message) {
    case WM_GETDLGCODE: {
      // Enter and Escape come here rather than to the dialog manager; Tab
      // still moves between the controls.
      const MSG* pending = reinterpret_cast<const MSG*>(lParam);
      const LRESULT code = DefSubclassProc(control, message, wParam, lParam);
      if (pending && pending->message == WM_KEYDOWN &&
          (pending->wParam == VK_RETURN || pending->wParam == VK_ESCAPE))
        return code | DLGC_WANTMESSAGE;
      return code & ~static_cast<LRESULT>(DLGC_WANTTAB | DLGC_WANTMESSAGE);
    }
    case WM_KEYDOWN:
      if (OnBoxKey(control, wParam, reinterpret_cast<HWND>(list))) return 0;
      break;
    case WM_CHAR:
      // Their characters would add a line break or a beep.
      if (wParam == '\r' || wParam == '\n' || wParam == 0x1B) return 0;
      break;
    default:
      break;
  }
  return DefSubclassProc(control, message, wParam, lParam);
}

}  // namespace

void RouteBoxKeys(HWND control, HWND list) {
  SetWindowSubclass(control, BoxKeysProc, 1, reinterpret_cast<DWORD_PTR>(list));
}
