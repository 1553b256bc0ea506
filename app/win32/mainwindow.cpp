#include "app/win32/mainwindow.h"

#include <commctrl.h>
#include <windowsx.h>

#include "alerts/activation.h"
#include "alerts/win32/mailnotice.h"
#include "app/geometry.h"
#include "app/win32/addtaskbox.h"
#include "app/win32/alerthost.h"
#include "app/win32/calendar_win32.h"
#include "app/win32/instance.h"
#include "app/win32/mainstate.h"
#include "app/win32/scaling.h"
#include "app/win32/screens.h"
#include "app/win32/skinnedframe.h"
#include "app/win32/tabs.h"
#include "app/win32/tray.h"
#include "app/win32/traymenu.h"
#include "app/win32/windowsettings.h"
#include "base/appstate.h"
#include "base/prompts.h"
#include "base/win32/handles.h"
#include "data/listset.h"
#include "skin/skinlayout.h"
#include "skin/win32/skinpaint.h"
#include "tree/win32/treedrag.h"
#include "tree/win32/treewindow.h"

namespace {

MainWindowState gMainState;

// The client point of a mouse message.
Point PointOf(LPARAM lParam) {
  return Point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

// ---- Message handlers, one per message.

LRESULT OnDestroy(HWND window) {
  // A new instance must be able to start while this one is still ending.
  ReleaseInstanceMutex();
  RemoveTrayIcon(window, 0);
  PostQuitMessage(0);
  return 0;
}

void LayOut(HWND window) {
  AppState& app = App();
  HWND tabs = Window(app.tabControl);
  if (!tabs) return;  // still being created
  RECT client;
  GetClientRect(window, &client);
  const int width = client.right;
  const int height = client.bottom;
  SetWindowPos(tabs, nullptr, 0, 0, width, height, SWP_NOZORDER);
  RECT display = {0, 0, width, height};
  SendMessageA(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
  // The views span the whole width below the tab strip; the skinned look
  // puts them at the skin's tree rectangle.
  Place place = {0, display.top, width, height - display.top};
  if (IsSkinned()) place = SkinTreePlace(CurrentSkin().skin);
  for (Handle view : {app.activeTree, app.doneTree, app.calendar, app.listsTree})
    if (view) SetWindowPos(Window(view), nullptr, place.x, place.y, place.width, place.height, SWP_NOZORDER);
  if (app.calendar) InvalidateRect(Window(app.calendar), nullptr, TRUE);
}

LRESULT OnSize(HWND window, UINT kind) {
  if (kind == SIZE_MINIMIZED)
    ShowWindow(window, SW_HIDE);
  else
    LayOut(window);
  return 0;
}

LRESULT OnPaint(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (IsSkinned()) return PaintSkinnedWindow(window);
  return DefWindowProcA(window, message, wParam, lParam);
}

// A name being typed belongs in the save: the close box and the skin's
// close button leave the label edit open, and it would end only once the
// window is hidden, after the lists were written.
void EndLabelEdits() {
  AppState& app = App();
  for (Handle tree : {app.listsTree, app.activeTree, app.doneTree})
    if (tree) TreeView_EndEditLabelNow(Window(tree), FALSE);
}

LRESULT OnClose(HWND window) {
  EndLabelEdits();
  // The window goes out of sight in any case; but a save that failed (a
  // full disk, a locked file) is said, or the edits since the last save
  // would be lost without a word at the next Exit.
  gMainState.listsSaveFailed = !SaveLists("current");
  if (gMainState.listsSaveFailed) ShowWarning(kListsNotSaved);
  SaveMainWindowSettings();
  ShowWindow(window, SW_HIDE);
  return 0;
}

LRESULT OnShowWindow(HWND window, bool shown, LPARAM status) {
  // A hidden window has no button under the pointer.
  if (!shown) ClearHover(window);
  return DefWindowProcA(window, WM_SHOWWINDOW, shown, status);
}

LRESULT OnNotify(const NMHDR* header) {
  AppState& app = App();
  if (header->hwndFrom == Window(app.tabControl) && header->code == TCN_SELCHANGE) {
    SelectTab(static_cast<int>(SendMessageA(Window(app.tabControl), TCM_GETCURSEL, 0, 0)));
    return 0;
  }
  if (header->hwndFrom == Window(app.calendar) && header->code == kCalendarGetDayState)
    return RefreshDayStates(reinterpret_cast<NMDAYSTATE*>(const_cast<NMHDR*>(header)));
  return OnTreeNotify(header);
}

LRESULT OnKeyDown(HWND window, WPARAM key, LPARAM flags) {
  if (HoldKeyForTreeDrag(static_cast<UINT>(key))) return 0;
  if (key == VK_ESCAPE) SendMessageA(window, WM_CLOSE, 0, 0);
  return DefWindowProcA(window, WM_KEYDOWN, key, flags);
}

LRESULT OnCommand(HWND window, WPARAM wParam, LPARAM lParam) {
  // A menu command carries lParam 0, which is what the tracked menu is
  // once the tray menu has closed.
  if (lParam == reinterpret_cast<LPARAM>(TrackedTrayMenu()) && HIWORD(wParam) == 0)
    return RunTrayCommand(window, LOWORD(wParam));
  return DefWindowProcA(window, WM_COMMAND, wParam, lParam);
}

LRESULT OnSysCommand(HWND window, WPARAM command, LPARAM lParam) {
  if ((command & 0xFFF0) == SC_MINIMIZE) {
    // Minimising hides: the way back is the tray icon.
    ShowWindow(window, SW_HIDE);
    return 0;
  }
  return DefWindowProcA(window, WM_SYSCOMMAND, command, lParam);
}

LRESULT OnMouseMove(HWND window, Point at, WPARAM keys) {
  if (!gMainState.leaveTracking) {
    TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, window, 0};
    if (TrackMouseEvent(&track)) gMainState.leaveTracking = true;
  }
  if (TreeDragInProgress()) return UpdateTreeDrag(POINT{at.x, at.y});
  if (IsSkinned()) OnSkinnedPointerMove(window, at, keys);
  return 0;
}

LRESULT OnLeftButtonUp(Point at) {
  if (TreeDragInProgress()) return DropTreeDrag(POINT{at.x, at.y});
  EndSkinnedMove();
  return 0;
}

LRESULT OnCaptureChanged(HWND gaining) {
  OnTreeDragCaptureChanged(gaining);
  return 0;
}

LRESULT OnLeftButtonDown(HWND window, Point at) {
  if (IsSkinned()) OnSkinnedPress(window, at);
  return 0;
}

LRESULT OnMouseLeave(HWND window) {
  ClearHover(window);
  gMainState.leaveTracking = false;
  return 0;
}

// Timer 2 is the activation tick; 3 and 4 scroll the tree under a drag.
LRESULT OnTimer(HWND window, WPARAM id, LPARAM procedure) {
  if (id == kActivationTimerId) {
    MainActivationTick();
    return 0;
  }
  if (OnTreeDragTimer(id)) return 0;
  return DefWindowProcA(window, WM_TIMER, id, procedure);
}

// Back from sleep, or the clock changed: the tasks that came due meanwhile
// activate now rather than at the next minute's tick.
LRESULT OnPowerBroadcast(WPARAM event) {
  if (event == PBT_APMRESUMEAUTOMATIC) RunMainActivationCheck();
  return TRUE;
}

LRESULT OnTimeChange() {
  RunMainActivationCheck();
  return 0;
}

LRESULT OnMoving(HWND window, RECT* proposed) {
  RECT current;
  if (!proposed || !GetWindowRect(window, &current)) return TRUE;
  *proposed = ToRECT(SnapPlainMove(ToRect(*proposed), ToRect(current), WorkArea()));
  return TRUE;
}

// The tray icon's left click brings the window back.
void RestoreFromTray(HWND window) {
  ShowWindow(window, SW_SHOW);
  SetForegroundWindow(window);
  UpdateWindow(window);
  HWND view = Window(App().currentView);
  if (!view) return;
  RefreshScrollBars(view);
  InvalidateRect(view, nullptr, TRUE);
  UpdateWindow(view);
  SetFocus(view);
}

LRESULT OnTrayIcon(HWND window, LPARAM mouse) {
  switch (mouse) {
    case WM_LBUTTONDOWN:
      RestoreFromTray(window);
      return 0;
    case WM_RBUTTONUP: {
      POINT at;
      GetCursorPos(&at);
      OpenTrayMenu(window, at.x, at.y);
      return 1;
    }
    default:
      return 0;
  }
}

}  // namespace

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DESTROY:
      return OnDestroy(window);
    case WM_SIZE:
      return OnSize(window, static_cast<UINT>(wParam));
    case WM_PAINT:
      return OnPaint(window, message, wParam, lParam);
    case WM_CLOSE:
      return OnClose(window);
    case WM_ENDSESSION:
      return OnClose(window);
    case WM_ERASEBKGND:
      return 0;
    case WM_SHOWWINDOW:
      return OnShowWindow(window, wParam != 0, lParam);
    case WM_NOTIFY:
      return OnNotify(reinterpret_cast<const NMHDR*>(lParam));
    case WM_KEYDOWN:
      return OnKeyDown(window, wParam, lParam);
    case WM_COMMAND:
      return OnCommand(window, wParam, lParam);
    case WM_SYSCOMMAND:
      return OnSysCommand(window, wParam, lParam);
    case WM_MOUSEMOVE:
      return OnMouseMove(window, PointOf(lParam), wParam);
    case WM_LBUTTONDOWN:
      return OnLeftButtonDown(window, PointOf(lParam));
    case WM_LBUTTONUP:
      return OnLeftButtonUp(PointOf(lParam));
    case WM_CAPTURECHANGED:
      return OnCaptureChanged(reinterpret_cast<HWND>(lParam));
    case WM_MOVING:
      return OnMoving(window, reinterpret_cast<RECT*>(lParam));
    case WM_MOUSELEAVE:
      return OnMouseLeave(window);
    case WM_TIMER:
      return OnTimer(window, wParam, lParam);
    case WM_POWERBROADCAST:
      return OnPowerBroadcast(wParam);
    case WM_TIMECHANGE:
      return OnTimeChange();
    case WM_HOTKEY:
      return OnQuickAddHotKey(wParam);
    case kTrayIconMessage:
      return OnTrayIcon(window, lParam);
    case kMailOutcomeMessage:
      return OnMailAlertOutcome(lParam);
    case WM_DPICHANGED:
      return OnDpiChanged(window, HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

MainWindowState& MainState() {
  return gMainState;
}

bool ListsSaveFailed() {
  return gMainState.listsSaveFailed;
}
