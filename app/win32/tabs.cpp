#include "app/win32/tabs.h"

#include <commctrl.h>

#include "app/win32/calendar_win32.h"
#include "app/win32/mainstate.h"
#include "base/appstate.h"
#include "base/prompts.h"
#include "base/win32/dpi.h"
#include "base/win32/handles.h"
#include "skin/win32/skinpaint.h"
#include "tree/win32/treewindow.h"

namespace {

// Redraws the strip of tabs above the views. Suspending the main window's
// drawing during a switch throws away what the tab control had invalidated
// for a click (Wine validates the children), so the strip would go on
// showing the tab raised before.
void RedrawTabStrip(HWND tabs) {
  RECT strip;
  GetClientRect(tabs, &strip);
  RECT display = strip;
  SendMessageA(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
  strip.bottom = display.top;
  RedrawWindow(tabs, &strip, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

}  // namespace

HWND ViewOfTab(int index) {
  AppState& app = App();
  switch (index) {
    case kTabLists:
      return Window(app.listsTree);
    case kTabActive:
      return Window(app.activeTree);
    case kTabDone:
      return Window(app.doneTree);
    case kTabCalendar:
      return Window(app.calendar);
    default:
      return nullptr;
  }
}

void ScaleTabFont(HWND tabs, int dpi) {
  MainState().tabFont.Apply(tabs, dpi);
}

HWND CreateTabControl(HINSTANCE instance, HWND mainWindow) {
  RECT client;
  GetClientRect(mainWindow, &client);
  HWND tabs = CreateWindowExA(0, WC_TABCONTROLA, "Tab Control",
                              WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TCS_MULTILINE | TCS_HOTTRACK, 0, 0,
                              client.right, client.bottom, mainWindow, nullptr, instance, nullptr);
  if (!tabs) return nullptr;
  ScaleTabFont(tabs, WindowDpi(mainWindow));
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
  HWND main = Window(app.mainWindow);
  SelectButtonForTab(main, index);
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
  if (HWND tabs = Window(app.tabControl)) {
    SendMessageA(tabs, TCM_SETCURSEL, index, 0);
    RedrawTabStrip(tabs);
  }
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
