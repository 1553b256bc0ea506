#include "app/win32/addtaskbox.h"

#include <string>

#include "app/win32/boxkeys.h"
#include "base/win32/activedialog.h"
#include "base/win32/hotkey_win32.h"
#include "tree/quickadd.h"

namespace {

HWND g_box = nullptr;

void AddAndClose(HWND box) {
  HWND edit = GetDlgItem(box, kAddTaskEdit);
  std::string text(static_cast<size_t>(GetWindowTextLengthA(edit)) + 1, '\0');
  text.resize(static_cast<size_t>(GetWindowTextA(edit, &text[0], static_cast<int>(text.size()))));
  AddToInbox(text.c_str());
  ShowWindow(box, SW_HIDE);
}

INT_PTR OnInitDialog(HWND box) {
  RouteBoxKeys(GetDlgItem(box, kAddTaskEdit), nullptr);
  return TRUE;
}

INT_PTR OnCommand(HWND box, int id) {
  switch (id) {
    case IDOK:
      AddAndClose(box);
      return TRUE;
    case IDCANCEL:
      ShowWindow(box, SW_HIDE);
      return TRUE;
    default:
      return FALSE;
  }
}

INT_PTR CALLBACK AddTaskBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog(box);
    case WM_ACTIVATE:
      NoteActiveDialog(box, wParam);
      return FALSE;
    case WM_COMMAND:
      return OnCommand(box, LOWORD(wParam));
    case WM_SYSCOMMAND:
      return HideOnClose(box, wParam);
    default:
      return FALSE;
  }
}

}  // namespace

HWND CreateAddTaskBox(HINSTANCE instance, HWND owner) {
  g_box = CreateDialogParamA(instance, MAKEINTRESOURCEA(kAddTaskBoxId), owner, AddTaskBoxProc, 0);
  return g_box;
}

HWND AddTaskBox() {
  return g_box;
}

void ShowAddTaskBox() {
  if (!g_box) return;
  HWND edit = GetDlgItem(g_box, kAddTaskEdit);
  // Pressed again while the box is open: what is typed stays.
  if (IsWindowVisible(g_box)) {
    SetForegroundWindow(g_box);
    SetFocus(edit);
    return;
  }
  SetWindowTextA(edit, "");
  // Centred on the screen the user is working on, not beside the hidden
  // main window.
  RECT box;
  GetWindowRect(g_box, &box);
  POINT pointer;
  GetCursorPos(&pointer);
  MONITORINFO monitor = {sizeof monitor, {}, {}, 0};
  if (GetMonitorInfoA(MonitorFromPoint(pointer, MONITOR_DEFAULTTONEAREST), &monitor)) {
    const RECT& work = monitor.rcWork;
    const int width = box.right - box.left;
    const int height = box.bottom - box.top;
    SetWindowPos(g_box, HWND_TOPMOST, work.left + (work.right - work.left - width) / 2,
                 work.top + (work.bottom - work.top - height) / 3, 0, 0, SWP_NOSIZE);
  }
  ShowWindow(g_box, SW_SHOW);
  SetForegroundWindow(g_box);
  SetFocus(edit);
}

LRESULT OnQuickAddHotKey(WPARAM id) {
  if (id == kQuickAddHotKeyId) ShowAddTaskBox();
  return 0;
}
