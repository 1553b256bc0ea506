#include "app/win32/calendar_win32.h"

#include <windowsx.h>

#include <cstdint>
#include <vector>

#include "app/calendar.h"
#include "app/win32/findbox.h"
#include "app/win32/mainstate.h"
#include "app/win32/tabs.h"
#include "base/appstate.h"
#include "base/prompts.h"
#include "base/scale.h"
#include "base/win32/dpi.h"
#include "base/win32/handles.h"
#include "skin/win32/transparent.h"

namespace {

static_assert(kCalendarHitDate == MCHT_CALENDARDATE, "hit-test codes follow the control's");
static_assert((kCalendarHitDate | kCalendarHitNext) == MCHT_CALENDARDATENEXT,
              "hit-test codes follow the control's");
static_assert((kCalendarHitDate | kCalendarHitPrev) == MCHT_CALENDARDATEPREV,
              "hit-test codes follow the control's");

// The tooltip's line width at 96 DPI: it makes the breaks between names show.
constexpr int kTipWidth = 150;

LRESULT CallStandard(HWND calendar, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!MainState().previousCalendarProc) return DefWindowProcA(calendar, message, wParam, lParam);
  return CallWindowProcA(MainState().previousCalendarProc, calendar, message, wParam, lParam);
}

TOOLINFOA CalendarTool(HWND calendar) {
  TOOLINFOA tool = {};
  // The common controls of every version take the older, shorter record.
  tool.cbSize = TTTOOLINFOA_V2_SIZE;
  tool.hwnd = MainState().tooltipOwner;
  tool.uId = reinterpret_cast<UINT_PTR>(calendar);
  return tool;
}

void UpdateTooltip(HWND calendar, const SYSTEMTIME& date) {
  if (!MainState().calendarTooltip) return;
  char text[kDayTipSize];
  int found = BuildDayTip(App().tasks, App().lists, date.wYear, date.wMonth, date.wDay, text, sizeof text);
  if (found) {
    TOOLINFOA tool = CalendarTool(calendar);
    tool.lpszText = text;
    SendMessageA(MainState().calendarTooltip, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageA(MainState().calendarTooltip, TTM_ACTIVATE, TRUE, 0);
  } else {
    SendMessageA(MainState().calendarTooltip, TTM_ACTIVATE, FALSE, 0);
  }
}

void OnMouseMove(HWND calendar, LPARAM lParam) {
  MCHITTESTINFO hit = {};
  // The size without the Vista fields: the hit itself is all we read.
  hit.cbSize = MCHITTESTINFO_V1_SIZE;
  hit.pt.x = GET_X_LPARAM(lParam);
  hit.pt.y = GET_Y_LPARAM(lParam);
  SendMessageA(calendar, MCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
  if (!TakeHoveredDay(MainState().hover, hit.uHit, hit.st.wDay)) return;
  UpdateTooltip(calendar, hit.st);
}

LRESULT CALLBACK CalendarProc(HWND calendar, UINT message, WPARAM wParam, LPARAM lParam) {
  HBITMAP background = static_cast<HBITMAP>(App().treeBackground);
  switch (message) {
    case WM_PAINT:
    case WM_PRINTCLIENT:
      // A print comes out the way the screen shows the calendar. A paint
      // whose wParam names a DC paints there, as the control's own does.
      if (!background) break;
      return PaintControlTransparently(calendar, background, MainState().previousCalendarProc,
                                       reinterpret_cast<HDC>(wParam));
    case WM_ERASEBKGND:
      // The transparent painting covers every pixel; erasing would flicker.
      if (background) return 0;
      break;
    case WM_KEYDOWN:
      switch (CalendarKeyAction(static_cast<unsigned>(wParam), GetKeyState(VK_CONTROL) < 0)) {
        case CalendarKey::kCloseWindow:
          SendMessageA(Window(App().mainWindow), WM_CLOSE, 0, 0);
          return 0;
        case CalendarKey::kListsTab:
          SelectTab(kTabLists);
          return 0;
        case CalendarKey::kFind:
          ShowFindBox();
          return 0;
        case CalendarKey::kStandard:
          break;
      }
      break;
    case WM_MOUSEMOVE:
      OnMouseMove(calendar, lParam);
      break;
    default:
      break;
  }
  return CallStandard(calendar, message, wParam, lParam);
}

HWND CreateTooltip(HINSTANCE instance, HWND calendar, HWND mainWindow) {
  HWND tooltip = CreateWindowExA(
      0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX | TTS_BALLOON, CW_USEDEFAULT,
      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, calendar, nullptr, instance, nullptr);
  if (!tooltip) {
    ShowWarning("Add tooltip failed!");
    return nullptr;
  }
  MainState().tooltipOwner = mainWindow;
  TOOLINFOA tool = CalendarTool(calendar);
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS | TTF_TRANSPARENT;
  char empty[] = "Empty";
  tool.lpszText = empty;
  if (!SendMessageA(tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool))) {
    ShowWarning("Add tooltip failed!");
    DestroyWindow(tooltip);
    return nullptr;
  }
  SendMessageA(tooltip, TTM_SETMAXTIPWIDTH, 0, ScaleForDpi(kTipWidth, WindowDpi(mainWindow)));
  SendMessageA(tooltip, TTM_SETDELAYTIME, TTDT_INITIAL, 100);
  SendMessageA(tooltip, TTM_ACTIVATE, FALSE, 0);
  return tooltip;
}

}  // namespace

void ScaleCalendarFont(HWND calendar, int dpi) {
  MainState().calendarFont.Apply(calendar, dpi);
  if (HWND tip = MainState().calendarTooltip) SendMessageA(tip, TTM_SETMAXTIPWIDTH, 0, ScaleForDpi(kTipWidth, dpi));
}

HWND CreateCalendar(HINSTANCE instance, HWND mainWindow) {
  INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_DATE_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&classes);
  RECT client = {0, 0, 0, 0};
  if (mainWindow) GetClientRect(mainWindow, &client);
  HWND calendar = CreateWindowExA(
      0, MONTHCAL_CLASSA, "", WS_CHILD | WS_VISIBLE | MCS_DAYSTATE | MCS_NOTODAYCIRCLE, 0, 0,
      client.right - client.left, client.bottom - client.top, mainWindow, nullptr, instance, nullptr);
  if (!calendar) return nullptr;
  App().calendar = calendar;

  WNDPROC previous = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(calendar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CalendarProc)));
  if (!MainState().previousCalendarProc) MainState().previousCalendarProc = previous;

  ScaleCalendarFont(calendar, WindowDpi(mainWindow));

  const COLORREF key = RGB(250, 50, 250);
  SendMessageA(calendar, MCM_SETCOLOR, MCSC_BACKGROUND, key);
  SendMessageA(calendar, MCM_SETCOLOR, MCSC_MONTHBK, key);
  SendMessageA(calendar, MCM_SETCOLOR, MCSC_TITLEBK, RGB(80, 140, 200));
  SendMessageA(calendar, MCM_SETCOLOR, MCSC_TITLETEXT, RGB(0, 0, 0));

  MainState().hover = DayHover{};
  MainState().calendarTooltip = CreateTooltip(instance, calendar, mainWindow);
  return calendar;
}

LRESULT RefreshDayStates(NMDAYSTATE* request) {
  if (!request || request->cDayState <= 0) return 0;
  const int count = request->cDayState;
  if (!request->prgDayState) {
    MainState().dayStates.assign(static_cast<size_t>(count), 0);
    request->prgDayState = MainState().dayStates.data();
  }
  static_assert(sizeof(MONTHDAYSTATE) == sizeof(uint32_t), "a day state is a 32-bit mask");
  std::vector<uint32_t> masks(static_cast<size_t>(count), 0);
  ComputeDayStates(App().tasks, request->stStart.wYear, request->stStart.wMonth, count, masks.data());
  for (int i = 0; i < count; ++i) request->prgDayState[i] = masks[static_cast<size_t>(i)];
  return 0;
}

int RefreshCalendarDayStates(HWND calendar) {
  if (!calendar) return 0;
  SYSTEMTIME range[2] = {};
  const int count = static_cast<int>(
      SendMessageA(calendar, MCM_GETMONTHRANGE, GMR_DAYSTATE, reinterpret_cast<LPARAM>(range)));
  std::vector<MONTHDAYSTATE> states(count > 0 ? static_cast<size_t>(count) : 1, 0);
  NMDAYSTATE request = {};
  request.stStart = range[0];
  request.cDayState = count;
  request.prgDayState = states.data();
  RefreshDayStates(&request);
  if (count <= 0 ||
      !SendMessageA(calendar, MCM_SETDAYSTATE, count, reinterpret_cast<LPARAM>(states.data()))) {
    ShowWarning("Set day state failed!");
    return 0;
  }
  return 1;
}

HWND CalendarTooltip() {
  return MainState().calendarTooltip;
}

void DestroyCalendar(HWND calendar) {
  if (!calendar || !IsWindow(calendar)) return;
  // The tooltip's owner is the main window (a child owns no pop-up), so it
  // does not go with the calendar by itself.
  if (MainState().calendarTooltip &&
      GetWindow(MainState().calendarTooltip, GW_OWNER) == GetAncestor(calendar, GA_ROOT)) {
    DestroyWindow(MainState().calendarTooltip);
    MainState().calendarTooltip = nullptr;
  }
  DestroyWindow(calendar);
  if (App().calendar == calendar) App().calendar = nullptr;
}
