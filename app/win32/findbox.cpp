#include "app/win32/findbox.h"

#include <string>
#include <vector>

#include "app/win32/boxkeys.h"
#include "app/win32/tabs.h"
#include "base/appstate.h"
#include "base/win32/activedialog.h"
#include "base/win32/handles.h"
#include "tree/findtask.h"

namespace {

// More lines than anyone reads; the list box slows down beyond.
constexpr size_t kShownMatches = 1000;

HWND g_box = nullptr;
TaskIndex g_index;

std::string QueryOf(HWND box) {
  char text[kNameSize] = "";
  GetDlgItemTextA(box, kFindEdit, text, sizeof text);
  return text;
}

void Refill(HWND box) {
  if (!TaskIndexIsCurrent(g_index)) BuildTaskIndex(&g_index);
  std::vector<size_t> matches;
  FilterTasks(g_index, QueryOf(box).c_str(), kShownMatches, &matches);
  HWND list = GetDlgItem(box, kFindList);
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  for (size_t entry : matches) {
    const std::string label = FoundTaskLabel(g_index, entry);
    const LRESULT at = SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(label.c_str()));
    if (at >= 0) SendMessageA(list, LB_SETITEMDATA, static_cast<WPARAM>(at), static_cast<LPARAM>(entry));
  }
  if (!matches.empty()) SendMessageA(list, LB_SETCURSEL, 0, 0);
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
}

// Shows the chosen task in its tab; a task gone meanwhile only refreshes
// the list.
void ShowChosen(HWND box) {
  HWND list = GetDlgItem(box, kFindList);
  const LRESULT at = SendMessageA(list, LB_GETCURSEL, 0, 0);
  if (at < 0) return;
  const size_t entry = static_cast<size_t>(SendMessageA(list, LB_GETITEMDATA, static_cast<WPARAM>(at), 0));
  const FoundTask found = LocateFoundTask(g_index, entry);
  const AppState& app = App();
  TaskForest* const trees[] = {app.lists, app.active, app.done};
  if (found.tab < 0 || !trees[found.tab]) {
    BuildTaskIndex(&g_index);
    Refill(box);
    return;
  }
  ShowWindow(box, SW_HIDE);
  HWND main = Window(app.mainWindow);
  if (main && !IsWindowVisible(main)) ShowWindow(main, SW_SHOW);
  SelectTab(found.tab);
  TaskForest& tree = *trees[found.tab];
  tree.EnsureVisible(found.node);
  tree.Select(found.node, Relation::kCaret);
  SetFocus(ViewOfTab(found.tab));
}

INT_PTR OnInitDialog(HWND box) {
  HWND list = GetDlgItem(box, kFindList);
  SendDlgItemMessageA(box, kFindEdit, EM_LIMITTEXT, kMaxNameLength, 0);
  RouteBoxKeys(GetDlgItem(box, kFindEdit), list);
  RouteBoxKeys(list, list);
  return TRUE;
}

INT_PTR OnCommand(HWND box, int id, int code) {
  switch (id) {
    case IDOK:
      ShowChosen(box);
      return TRUE;
    case IDCANCEL:
      ShowWindow(box, SW_HIDE);
      return TRUE;
    case kFindEdit:
      if (code == EN_CHANGE) Refill(box);
      return TRUE;
    case kFindList:
      if (code == LBN_DBLCLK) ShowChosen(box);
      return TRUE;
    default:
      return FALSE;
  }
}

INT_PTR CALLBACK FindBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog(box);
    case WM_ACTIVATE:
      NoteActiveDialog(box, wParam);
      return FALSE;
    case WM_COMMAND:
      return OnCommand(box, LOWORD(wParam), HIWORD(wParam));
    case WM_SYSCOMMAND:
      return HideOnClose(box, wParam);
    default:
      return FALSE;
  }
}

}  // namespace

HWND CreateFindBox(HINSTANCE instance, HWND owner) {
  g_box = CreateDialogParamA(instance, MAKEINTRESOURCEA(kFindBoxId), owner, FindBoxProc, 0);
  return g_box;
}

HWND FindBox() {
  return g_box;
}

void ShowFindBox() {
  if (!g_box) return;
  BuildTaskIndex(&g_index);
  Refill(g_box);
  ShowWindow(g_box, SW_SHOW);
  SetForegroundWindow(g_box);
  HWND edit = GetDlgItem(g_box, kFindEdit);
  SetFocus(edit);
  // What was looked for last stays, ready to be typed over.
  SendMessageA(edit, EM_SETSEL, 0, -1);
}
