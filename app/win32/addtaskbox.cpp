#include "app/win32/addtaskbox.h"

#include <string>

#include "app/win32/boxkeys.h"
#include "app/win32/screens.h"
#include "base/win32/modelessdialog.h"
#include "base/win32/hotkey_win32.h"
#include "tree/quickadd.h"

namespace {

HWND gAddTaskBox = nullptr;

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

// Its own messages; the skeleton answers the others.
INT_PTR CALLBACK AddTaskBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog(box);
    case WM_COMMAND:
      return OnCommand(box, LOWORD(wParam));
    default:
      return FALSE;
  }
}

}  // namespace

HWND CreateAddTaskBox(HINSTANCE instance, HWND owner) {
  // No record of its own: the box's state is the file's.
  gAddTaskBox = CreateModelessDialog<void, DialogRecord::kBorrowed, AddTaskBoxProc>(instance, kAddTaskBoxId, owner, nullptr);
  return gAddTaskBox;
}

HWND AddTaskBox() {
  return gAddTaskBox;
}

void ShowAddTaskBox() {
  if (!gAddTaskBox) return;
  HWND edit = GetDlgItem(gAddTaskBox, kAddTaskEdit);
  // Pressed again while the box is open: what is typed stays.
  if (IsWindowVisible(gAddTaskBox)) {
    SetForegroundWindow(gAddTaskBox);
    SetFocus(edit);
    return;
  }
  SetWindowTextA(edit, "");
  // Centred on the screen the user is working on, not beside the hidden
  // main window.
  RECT box;
  GetWindowRect(gAddTaskBox, &box);
  POINT pointer;
  GetCursorPos(&pointer);
  const Rect work = MonitorWorkArea(MonitorFromPoint(pointer, MONITOR_DEFAULTTONEAREST));
  SetWindowPos(gAddTaskBox, HWND_TOPMOST, work.left + (work.right - work.left - (box.right - box.left)) / 2,
               work.top + (work.bottom - work.top - (box.bottom - box.top)) / 3, 0, 0, SWP_NOSIZE);
  ShowWindow(gAddTaskBox, SW_SHOW);
  SetForegroundWindow(gAddTaskBox);
  SetFocus(edit);
}

LRESULT OnQuickAddHotKey(WPARAM id) {
  if (id == kQuickAddHotKeyId) ShowAddTaskBox();
  return 0;
}
