// The Calendar tab's month calendar: how it is made, the bold days it is
// given, the day tooltip, its keys and its painting over the background.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/calendar.h"
#include "app/win32/calendar_win32.h"
#include "base/appstate.h"
#include "base/win32/scoped.h"
#include "tests/native/fixture.h"
#include "tests/win32/pixel_canvas.h"
#include "tree/tasktree.h"

namespace {

constexpr uint32_t kKey = 0x00FA32FA;

// One MCN_GETDAYSTATE as the host answered it.
struct DayStateRequest {
  int year;
  int month;
  std::vector<uint32_t> masks;
};
std::vector<DayStateRequest> gRequests;
int gCloses = 0;

// The main window's part: day-state requests go to RefreshDayStates.
LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      if (header->code != kCalendarGetDayState) break;
      auto* request = reinterpret_cast<NMDAYSTATE*>(lParam);
      LRESULT answer = RefreshDayStates(request);
      DayStateRequest seen{request->stStart.wYear, request->stStart.wMonth, {}};
      for (int i = 0; i < request->cDayState; ++i) seen.masks.push_back(request->prgDayState[i]);
      gRequests.push_back(seen);
      return answer;
    }
    case WM_CLOSE:
      ++gCloses;
      return 0;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND MakeHost() {
  WNDCLASSA cls = {};
  cls.lpfnWndProc = HostProc;
  cls.hInstance = GetModuleHandleA(nullptr);
  cls.lpszClassName = "VelkinCalendarTestHost";
  RegisterClassA(&cls);
  RECT frame = {0, 0, 220, 180};
  AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
  return CreateWindowExA(0, cls.lpszClassName, "Calendar test", WS_OVERLAPPEDWINDOW, 0, 0,
                         frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, cls.hInstance,
                         nullptr);
}

SYSTEMTIME Date(int year, int month, int day) {
  SYSTEMTIME date = {};
  date.wYear = static_cast<WORD>(year);
  date.wMonth = static_cast<WORD>(month);
  date.wDay = static_cast<WORD>(day);
  return date;
}

struct CalendarWindow : AppFixture {
  void SetUp() override {
    AppFixture::SetUp();
    gRequests.clear();
    gCloses = 0;
    host.reset(MakeHost());
    ASSERT_TRUE(host);
    App().mainWindow = host.get();
    calendar = CreateCalendar(GetModuleHandleA(nullptr), host.get());
    ASSERT_NE(nullptr, calendar);
  }
  void TearDown() override {
    DestroyCalendar(calendar);
    host.reset();
    AppFixture::TearDown();
  }

  void AddTask(TaskForest& tree, const char* name, const char* due, bool inForce = true) {
    Node node = InsertTask(tree, kRootNode, kLastNode, name);
    TaskRecord* record = RecordOf(tree, node);
    ASSERT_NE(nullptr, record);
    CopyField(record->duedate, due);
    record->duedateset = inForce ? 1 : 0;
  }
  // Shows the month of the date, the date selected.
  void ShowMonth(int year, int month, int day) {
    SYSTEMTIME date = Date(year, month, day);
    ASSERT_TRUE(SendMessageA(calendar, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&date)));
  }
  // A point of the calendar over the given date, found by asking the
  // calendar itself; answers the hit code through `hit`.
  bool PointOver(const SYSTEMTIME& date, POINT& at, unsigned& hit) {
    RECT client;
    GetClientRect(calendar, &client);
    for (int y = 0; y < client.bottom; y += 3)
      for (int x = 0; x < client.right; x += 3) {
        MCHITTESTINFO info = {};
        info.cbSize = MCHITTESTINFO_V1_SIZE;
        info.pt = {x, y};
        SendMessageA(calendar, MCM_HITTEST, 0, reinterpret_cast<LPARAM>(&info));
        if ((info.uHit & MCHT_CALENDARDATE) == MCHT_CALENDARDATE && info.st.wYear == date.wYear &&
            info.st.wMonth == date.wMonth && info.st.wDay == date.wDay) {
          at = info.pt;
          hit = info.uHit;
          return true;
        }
      }
    return false;
  }
  void HoverOver(const SYSTEMTIME& date, unsigned* hitOut = nullptr) {
    POINT at{};
    unsigned hit = 0;
    ASSERT_TRUE(PointOver(date, at, hit)) << date.wMonth << "-" << date.wDay;
    if (hitOut) *hitOut = hit;
    SendMessageA(calendar, WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
  }
  // Moves on to the next month as the user does, with the title's button.
  void ClickNextMonth() {
    RECT client;
    GetClientRect(calendar, &client);
    for (int y = 0; y < client.bottom; y += 2)
      for (int x = 0; x < client.right; x += 2) {
        MCHITTESTINFO info = {};
        info.cbSize = MCHITTESTINFO_V1_SIZE;
        info.pt = {x, y};
        SendMessageA(calendar, MCM_HITTEST, 0, reinterpret_cast<LPARAM>(&info));
        if (info.uHit != MCHT_TITLEBTNNEXT) continue;
        SendMessageA(calendar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        SendMessageA(calendar, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
        return;
      }
    ADD_FAILURE() << "no next-month button";
  }
  std::string TipText() {
    char text[4096] = "";
    TOOLINFOA tool = {};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.hwnd = host.get();
    tool.uId = reinterpret_cast<UINT_PTR>(calendar);
    tool.lpszText = text;
    SendMessageA(CalendarTooltip(), TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
    return text;
  }

  ScopedWindow host;
  HWND calendar = nullptr;
};

TEST_F(CalendarWindow, MadeWithItsStylesColoursFontAndTooltip) {
  char text[64];
  GetClassNameA(calendar, text, sizeof text);
  EXPECT_STREQ("SysMonthCal32", text);
  GetWindowTextA(calendar, text, sizeof text);
  EXPECT_STREQ("", text);
  EXPECT_EQ(calendar, static_cast<HWND>(App().calendar));
  EXPECT_EQ(host.get(), GetParent(calendar));
  const LONG_PTR styles = WS_CHILD | WS_VISIBLE | MCS_DAYSTATE | MCS_NOTODAYCIRCLE;
  EXPECT_EQ(styles, GetWindowLongPtrA(calendar, GWL_STYLE) & styles);

  RECT hostClient, place;
  GetClientRect(host.get(), &hostClient);
  GetWindowRect(calendar, &place);
  MapWindowPoints(nullptr, host.get(), reinterpret_cast<POINT*>(&place), 2);
  EXPECT_EQ(0, place.left);
  EXPECT_EQ(0, place.top);
  EXPECT_EQ(hostClient.right, place.right);
  EXPECT_EQ(hostClient.bottom, place.bottom);

  EXPECT_EQ(RGB(250, 50, 250),
            static_cast<COLORREF>(SendMessageA(calendar, MCM_GETCOLOR, MCSC_BACKGROUND, 0)));
  EXPECT_EQ(RGB(250, 50, 250), static_cast<COLORREF>(SendMessageA(calendar, MCM_GETCOLOR, MCSC_MONTHBK, 0)));
  EXPECT_EQ(RGB(80, 140, 200), static_cast<COLORREF>(SendMessageA(calendar, MCM_GETCOLOR, MCSC_TITLEBK, 0)));
  EXPECT_EQ(RGB(0, 0, 0), static_cast<COLORREF>(SendMessageA(calendar, MCM_GETCOLOR, MCSC_TITLETEXT, 0)));

  HFONT font = reinterpret_cast<HFONT>(SendMessageA(calendar, WM_GETFONT, 0, 0));
  ASSERT_NE(nullptr, font);
  LOGFONTA look = {};
  ASSERT_TRUE(GetObjectA(font, sizeof look, &look));
  EXPECT_EQ(10, look.lfHeight);
  EXPECT_EQ(400, look.lfWeight);
  EXPECT_EQ(NONANTIALIASED_QUALITY, look.lfQuality);
  EXPECT_STREQ("MS Sans Serif", look.lfFaceName);

  HWND tooltip = CalendarTooltip();
  ASSERT_NE(nullptr, tooltip);
  GetClassNameA(tooltip, text, sizeof text);
  EXPECT_STREQ("tooltips_class32", text);
  // A child cannot own a pop-up: the calendar's top-level window does.
  EXPECT_EQ(host.get(), GetWindow(tooltip, GW_OWNER));
  const LONG_PTR tipStyles = WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX | TTS_BALLOON;
  EXPECT_EQ(tipStyles, GetWindowLongPtrA(tooltip, GWL_STYLE) & tipStyles);
  EXPECT_EQ(1, SendMessageA(tooltip, TTM_GETTOOLCOUNT, 0, 0));
  EXPECT_EQ(150, SendMessageA(tooltip, TTM_GETMAXTIPWIDTH, 0, 0));
  EXPECT_EQ(100, SendMessageA(tooltip, TTM_GETDELAYTIME, TTDT_INITIAL, 0));
  EXPECT_EQ("Empty", TipText());
  EXPECT_TRUE(prompts.shown().empty());
}

TEST_F(CalendarWindow, DayStateRequestsAreAnsweredWithTheDueDays) {
  AddTask(lists, "last of November", "11-30-2008");
  AddTask(lists, "twice a", "12-14-2008");
  AddTask(lists, "twice b", "12-14-2008");
  AddTask(lists, "new year's eve", "12-31-2008");
  AddTask(lists, "not in force", "12-20-2008", false);
  AddTask(active, "active", "12-21-2008");
  AddTask(lists, "january", "1-3-2009");

  ShowMonth(2008, 11, 15);
  gRequests.clear();
  ClickNextMonth();
  ASSERT_FALSE(gRequests.empty()) << "a new month asks for its bold days";

  const DayStateRequest& last = gRequests.back();

  // The request covers what the calendar shows, partly shown months too.
  SYSTEMTIME range[2] = {};
  const int count = static_cast<int>(
      SendMessageA(calendar, MCM_GETMONTHRANGE, GMR_DAYSTATE, reinterpret_cast<LPARAM>(range)));
  ASSERT_GE(count, 3);
  EXPECT_EQ(range[0].wYear, last.year);
  EXPECT_EQ(range[0].wMonth, last.month);
  ASSERT_EQ(static_cast<size_t>(count), last.masks.size());
  int boldMonths = 0;
  for (int i = 0; i < count; ++i) {
    const int month = (last.month - 1 + i) % 12 + 1;
    const int year = last.year + (last.month - 1 + i) / 12;
    uint32_t expected = 0;
    if (year == 2008 && month == 11) expected = 1u << 29;
    if (year == 2008 && month == 12) expected = 1u << 13 | 1u << 30;
    if (year == 2009 && month == 1) expected = 1u << 2;
    EXPECT_EQ(expected, last.masks[static_cast<size_t>(i)]) << year << "-" << month;
    if (expected) ++boldMonths;
  }
  EXPECT_EQ(3, boldMonths) << "December shown with the end of November and the start of January";

  // The tab switch hands them over unasked.
  EXPECT_EQ(1, RefreshCalendarDayStates(calendar));
  EXPECT_TRUE(prompts.shown().empty());
}

TEST_F(CalendarWindow, RequestWithoutAnArrayIsGivenOne) {
  AddTask(lists, "task", "3-9-2008");
  NMDAYSTATE request = {};
  request.stStart = Date(2008, 2, 24);
  request.cDayState = 3;
  EXPECT_EQ(0, RefreshDayStates(&request));
  ASSERT_NE(nullptr, request.prgDayState);
  EXPECT_EQ(0u, request.prgDayState[0]);
  EXPECT_EQ(1u << 8, request.prgDayState[1]);
  EXPECT_EQ(0u, request.prgDayState[2]);
  EXPECT_EQ(0, RefreshDayStates(nullptr));
}

TEST_F(CalendarWindow, HoveringADayNamesItsTasks) {
  AddTask(lists, "Buy milk", "12-14-2008");
  AddTask(lists, "Pay rent", "12-14-2008");
  AddTask(lists, "Party", "1-3-2009");
  ShowMonth(2008, 12, 1);

  HoverOver(Date(2008, 12, 14));
  EXPECT_EQ("Pay rent\r\nBuy milk", TipText());
  // A day without tasks silences the tooltip and leaves its text.
  HoverOver(Date(2008, 12, 15));
  EXPECT_EQ("Pay rent\r\nBuy milk", TipText());
  // The greyed days of the next month count as dates.
  unsigned hit = 0;
  HoverOver(Date(2009, 1, 3), &hit);
  EXPECT_EQ(static_cast<unsigned>(MCHT_CALENDARDATENEXT), hit);
  EXPECT_EQ("Party", TipText());
  // Same day number as last time: nothing is rebuilt.
  HoverOver(Date(2008, 12, 3));
  EXPECT_EQ("Party", TipText());
  HoverOver(Date(2008, 12, 14));
  EXPECT_EQ("Pay rent\r\nBuy milk", TipText());
  EXPECT_TRUE(prompts.shown().empty());
}

TEST_F(CalendarWindow, EscapeClosesTheMainWindowAndCtrlFGoesToLists) {
  ScopedWindow listsView(CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 10, 10, host.get(), nullptr,
                                         GetModuleHandleA(nullptr), nullptr));
  App().listsTree = listsView.get();
  App().currentView = calendar;

  EXPECT_EQ(0, SendMessageA(calendar, WM_KEYDOWN, VK_ESCAPE, 0));
  EXPECT_EQ(1, gCloses);

  BYTE keys[256] = {};
  ASSERT_TRUE(GetKeyboardState(keys));
  BYTE held[256];
  std::memcpy(held, keys, sizeof held);
  SendMessageA(calendar, WM_KEYDOWN, 'F', 0);
  EXPECT_EQ(calendar, static_cast<HWND>(App().currentView)) << "F alone stays in the calendar";
  held[VK_CONTROL] = 0x80;
  ASSERT_TRUE(SetKeyboardState(held));
  EXPECT_EQ(0, SendMessageA(calendar, WM_KEYDOWN, 'F', 0));
  SetKeyboardState(keys);
  EXPECT_EQ(listsView.get(), static_cast<HWND>(App().currentView));
  EXPECT_EQ(1, gCloses);
}

TEST_F(CalendarWindow, PaintsOverTheTreeBackground) {
  RECT client;
  GetClientRect(calendar, &client);
  const int width = client.right;
  const int height = client.bottom;
  ScopedGdiObject<HBITMAP> background = MakeTestBackground(5, 3);

  // Without a background the calendar paints as it always does.
  PixelCanvas plain(width, height, kKey);
  ASSERT_TRUE(plain.ok());
  EXPECT_NE(0, SendMessageA(calendar, WM_ERASEBKGND, reinterpret_cast<WPARAM>(plain.dc()), 0));
  SendMessageA(calendar, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(plain.dc()), PRF_CLIENT);

  App().treeBackground = background.get();
  PixelCanvas composed(width, height, 0x00123456);
  ASSERT_TRUE(composed.ok());
  EXPECT_EQ(0, SendMessageA(calendar, WM_ERASEBKGND, reinterpret_cast<WPARAM>(composed.dc()), 0));
  EXPECT_EQ(0x00123456u, composed.At(width / 2, height / 2)) << "no erasing under the background";
  SendMessageA(calendar, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(composed.dc()), PRF_CLIENT);

  const ComposedCounts counts = CheckComposed(plain, composed, kKey, 5, 3);
  const int clear = counts.clear;
  const int drawn = counts.drawn;
  EXPECT_GT(drawn, 100) << "title and day numbers";
  EXPECT_GT(clear, 100);
  EXPECT_TRUE(prompts.shown().empty());
  App().treeBackground = nullptr;
}

}  // namespace
