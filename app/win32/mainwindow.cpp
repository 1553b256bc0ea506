#include "app/win32/mainwindow.h"

#include <vector>

#include "app/appstate.h"
#include "app/geometry.h"
#include "app/prompts.h"
#include "app/settings.h"
#include "app/win32/calendar_win32.h"
#include "app/win32/registry_store.h"
#include "app/win32/tray.h"
#include "data/listfile.h"
#include "tree/win32/treeview_forest.h"
#include "tree/win32/treewindow.h"

namespace {

// Whether the last close could not save the lists.
bool gListsSaveFailed = false;
const char kListsNotSaved[] = "Error: Could not save the lists!";

// Set when the window has asked for WM_MOUSELEAVE and not yet had it.
bool g_leaveTracking = false;

// The skinned look (its own frame, buttons and moving) comes with the
// skins; until then the window always has the plain look.
bool Skinned() {
  return false;
}

HWND Window(Handle handle) {
  return static_cast<HWND>(handle);
}

HWND ViewOfTab(int index) {
  AppState& app = App();
  switch (index) {
    case kTabLists: return Window(app.listsTree);
    case kTabActive: return Window(app.activeTree);
    case kTabDone: return Window(app.doneTree);
    case kTabCalendar: return Window(app.calendar);
    default: return nullptr;
  }
}

Rect WorkArea() {
  RECT area;
  if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0)) {
    // Without a work area the whole screen stands for it.
    area = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  }
  return Rect{area.left, area.top, area.right, area.bottom};
}

// ---- Settings on the real window.

BOOL CALLBACK AddMonitorWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
  MONITORINFO info;
  info.cbSize = sizeof info;
  if (GetMonitorInfoA(monitor, &info)) {
    auto* screens = reinterpret_cast<std::vector<Rect>*>(data);
    screens->push_back(Rect{info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom});
  }
  return TRUE;
}

class Win32SettingsWindow final : public SettingsWindow {
 public:
  int GetRect(Rect* rect) override {
    RECT r;
    if (!rect || !GetWindowRect(Window(App().mainWindow), &r)) return 0;
    *rect = Rect{r.left, r.top, r.right, r.bottom};
    return 1;
  }
  void SetRect(const Rect& rect) override {
    SetWindowPos(Window(App().mainWindow), nullptr, rect.left, rect.top, rect.right - rect.left,
                 rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  std::vector<Rect> Screens() override {
    std::vector<Rect> screens;
    EnumDisplayMonitors(nullptr, nullptr, AddMonitorWorkArea, reinterpret_cast<LPARAM>(&screens));
    if (screens.empty()) screens.push_back(WorkArea());
    return screens;
  }
  // Loading the skin comes with the skins; the path is already kept in the
  // application state by ReadSettings.
  void LoadSkin(const char*) override {}
};

Win32SettingsWindow& SettingsWindowOfApp() {
  static Win32SettingsWindow window;
  return window;
}

// ---- Message handlers, one per message.

LRESULT OnDestroy(HWND window) {
  // The mutex is opened again by name: whoever holds it, this thread owns
  // it since start-up, and a new instance must be able to start at once.
  HANDLE mutex = CreateMutexA(nullptr, TRUE, kAppTitle);
  if (mutex) {
    ReleaseMutex(mutex);
    CloseHandle(mutex);
  }
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
  const int top = display.top;
  // The views span the whole width, below the tab strip. The skinned look
  // puts them at the skin's tree rectangle instead, once skins exist.
  if (!Skinned())
    for (Handle view : {app.activeTree, app.doneTree, app.calendar, app.listsTree})
      if (view) SetWindowPos(Window(view), nullptr, 0, top, width, height - top, SWP_NOZORDER);
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
  // The skinned look paints its own frame here.
  return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT OnClose(HWND window) {
  // The window goes out of sight in any case; but a save that failed (a
  // full disk, a locked file) is said, or the edits since the last save
  // would be lost without a word at the next Exit.
  gListsSaveFailed = !SaveLists("current");
  if (gListsSaveFailed) ShowWarning(kListsNotSaved);
  SaveMainWindowSettings();
  ShowWindow(window, SW_HIDE);
  return 0;
}

LRESULT OnShowWindow(HWND window, bool shown, LPARAM status) {
  // Hiding clears the skin buttons' hover, which comes with the skins.
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
  // TVN_BEGINDRAG answers 0; the drag itself comes with drag and drop.
  return OnTreeNotify(header);
}

LRESULT OnKeyDown(HWND window, WPARAM key, LPARAM flags) {
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

LRESULT OnMouseMove(HWND window) {
  if (!g_leaveTracking) {
    TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, window, 0};
    if (TrackMouseEvent(&track)) g_leaveTracking = true;
  }
  // The skinned look moves the window and tracks its buttons' hover here;
  // a tree drag follows the pointer here once drag and drop exists.
  return 0;
}

LRESULT OnMouseLeave() {
  // Also clears the skin buttons' hover, with the skins.
  g_leaveTracking = false;
  return 0;
}

LRESULT OnMoving(HWND window, RECT* proposed) {
  RECT current;
  if (!proposed || !GetWindowRect(window, &current)) return TRUE;
  Rect snapped = SnapPlainMove(Rect{proposed->left, proposed->top, proposed->right, proposed->bottom},
                               Rect{current.left, current.top, current.right, current.bottom}, WorkArea());
  *proposed = RECT{snapped.left, snapped.top, snapped.right, snapped.bottom};
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
    case WM_LBUTTONDOWN: RestoreFromTray(window); return 0;
    case WM_RBUTTONUP: {
      POINT at;
      GetCursorPos(&at);
      OpenTrayMenu(window, at.x, at.y);
      return 1;
    }
    default: return 0;
  }
}

HANDLE g_instanceMutex = nullptr;

}  // namespace

void KeepInstanceMutex(HANDLE mutex) {
  g_instanceMutex = mutex;
}

void ReleaseInstanceMutex() {
  if (!g_instanceMutex) return;
  ReleaseMutex(g_instanceMutex);
  CloseHandle(g_instanceMutex);
  g_instanceMutex = nullptr;
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DESTROY: return OnDestroy(window);
    case WM_SIZE: return OnSize(window, static_cast<UINT>(wParam));
    case WM_PAINT: return OnPaint(window, message, wParam, lParam);
    case WM_CLOSE: return OnClose(window);
    case WM_ENDSESSION: return OnClose(window);
    case WM_ERASEBKGND: return 0;
    case WM_SHOWWINDOW: return OnShowWindow(window, wParam != 0, lParam);
    case WM_NOTIFY: return OnNotify(reinterpret_cast<const NMHDR*>(lParam));
    case WM_KEYDOWN: return OnKeyDown(window, wParam, lParam);
    case WM_COMMAND: return OnCommand(window, wParam, lParam);
    case WM_SYSCOMMAND: return OnSysCommand(window, wParam, lParam);
    case WM_MOUSEMOVE: return OnMouseMove(window);
    case WM_LBUTTONDOWN: return 0;  // the skin's buttons and title bar
    case WM_LBUTTONUP: return 0;    // the end of a skinned move or a tree drop
    case WM_MOVING: return OnMoving(window, reinterpret_cast<RECT*>(lParam));
    case WM_MOUSELEAVE: return OnMouseLeave();
    case kTrayIconMessage: return OnTrayIcon(window, lParam);
    default: return DefWindowProcA(window, message, wParam, lParam);
  }
}

// ---- Tabs.

HWND CreateTabControl(HINSTANCE instance, HWND mainWindow) {
  RECT client;
  GetClientRect(mainWindow, &client);
  HWND tabs = CreateWindowExA(0, WC_TABCONTROLA, "Tab Control",
                              WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TCS_MULTILINE | TCS_HOTTRACK, 0, 0,
                              client.right, client.bottom, mainWindow, nullptr, instance, nullptr);
  if (!tabs) return nullptr;
  // Lives as long as the program, as the control does.
  HFONT font = CreateFontA(12, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "MS Sans Serif");
  SendMessageA(tabs, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  static const char* const kTabTexts[kTabCount] = {"Lists", "Active", "Done", "Calendar"};
  for (int index = 0; index < kTabCount; ++index) {
    TCITEMA item = {};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = const_cast<char*>(kTabTexts[index]);
    item.iImage = -1;
    SendMessageA(tabs, TCM_INSERTITEMA, index, reinterpret_cast<LPARAM>(&item));
  }
  return tabs;
}

void SelectTab(int index) {
  HWND view = ViewOfTab(index);
  if (index < 0 || index >= kTabCount) {
    ShowWarning("Unknown tab!");
    return;
  }
  AppState& app = App();
  app.currentView = view;
  // The skinned look also moves its selected button here.
  HWND main = Window(app.mainWindow);
  if (!view) return;
  SendMessageA(view, WM_SETREDRAW, FALSE, 0);
  SendMessageA(main, WM_SETREDRAW, FALSE, 0);
  BringWindowToTop(view);
  if (index == kTabCalendar) {
    RefreshCalendarDayStates(view);
    RedrawWindow(view, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  } else {
    RepaintTree(view);
  }
  SendMessageA(view, WM_SETREDRAW, TRUE, 0);
  SendMessageA(main, WM_SETREDRAW, TRUE, 0);
  SetFocus(view);
  RefreshScrollBars(view);
  InvalidateRect(view, nullptr, TRUE);
  UpdateWindow(view);
  if (app.tabControl) SendMessageA(Window(app.tabControl), TCM_SETCURSEL, index, 0);
}

int CurrentTabIndex() {
  AppState& app = App();
  if (!app.currentView) return kTabCalendar;
  if (app.currentView == app.listsTree) return kTabLists;
  if (app.currentView == app.activeTree) return kTabActive;
  if (app.currentView == app.doneTree) return kTabDone;
  return kTabCalendar;
}

void SelectNextTab() {
  SelectTab((CurrentTabIndex() + 1) % kTabCount);
}

// ---- Settings.

namespace {
SettingsStore* g_settingsStore = nullptr;
SettingsStore& Store() {
  return g_settingsStore ? *g_settingsStore : HostSettingsStore();
}
}  // namespace

void UseSettingsStore(SettingsStore* store) {
  g_settingsStore = store;
}

void ReadMainWindowSettings() {
  ReadSettings(Store(), SettingsWindowOfApp());
}

void SaveMainWindowSettings() {
  SaveSettings(Store(), SettingsWindowOfApp());
}

// ---- The tree commands' host.

TaskForest* Win32TreeHost::CurrentView() {
  AppState& app = App();
  if (!app.currentView) return nullptr;
  if (app.currentView == app.listsTree) return app.lists;
  if (app.currentView == app.activeTree) return app.active;
  if (app.currentView == app.doneTree) return app.done;
  return nullptr;
}

void Win32TreeHost::FocusCurrentView() {
  if (App().currentView) SetFocus(Window(App().currentView));
}

void Win32TreeHost::RepaintTree(TaskForest& tree) {
  ::RepaintTree(Window(tree.Window()));
}

void Win32TreeHost::ScrollLine(TaskForest& tree, bool up) {
  SendMessageA(Window(tree.Window()), WM_VSCROLL, up ? SB_LINEUP : SB_LINEDOWN, 0);
}

void Win32TreeHost::CloseMainWindow() {
  SendMessageA(Window(App().mainWindow), WM_CLOSE, 0, 0);
}

void Win32TreeHost::SelectNextTab() {
  ::SelectNextTab();
}

void Win32TreeHost::SaveSettings() {
  SaveMainWindowSettings();
}

// F5 and the activation tick come with the alerts; until then F5 does
// nothing on Windows.
void Win32TreeHost::RunActivationCheck() {}

// The Properties dialog comes with its own work; a double click shows
// nothing until then.
void Win32TreeHost::ShowPropertiesDialog(TaskRecord*, bool) {}

void Win32TreeHost::GuardLabelEdit(Handle edit) {
  GuardLabelEditWindow(Window(edit));
}

Win32TreeHost& MainTreeHost() {
  static Win32TreeHost host;
  return host;
}

bool ListsSaveFailed() { return gListsSaveFailed; }
