// The main window on real windows: the tab switch and its three places of
// the selection, the layout, hiding instead of closing, move snapping, the
// tray icon's click and the routing of menu commands to the tray.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/settings.h"
#include "app/win32/about.h"
#include "app/win32/calendar_win32.h"
#include "app/win32/mainwindow.h"
#include "app/win32/tabs.h"
#include "app/win32/traymenu.h"
#include "app/win32/treehost.h"
#include "app/win32/windowsettings.h"
#include "base/appstate.h"
#include "base/win32/handles.h"
#include "base/win32/treeview_forest.h"
#include "skin/skin.h"
#include "skin/win32/skinlook.h"
#include "data/datetext.h"
#include "tests/native/fixture.h"
#include "tests/win32/main_window_fixture.h"
#include "tests/win32/pixel_canvas.h"
#include "tests/win32/skin_fixture.h"
#include "tree/tasktree.h"
#include "tree/win32/tasktree_win32.h"
#include "tree/win32/treewindow.h"

namespace {

TEST_F(MainWindow, TabsHaveTheirTextsInOrder) {
  ASSERT_EQ(SendMessageA(Tabs(), TCM_GETITEMCOUNT, 0, 0), 4);
  const char* expected[] = {"Lists", "Active", "Done", "Calendar"};
  for (int index = 0; index < 4; ++index) {
    char text[32] = "";
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    ASSERT_TRUE(SendMessageA(Tabs(), TCM_GETITEMA, index, reinterpret_cast<LPARAM>(&item)));
    EXPECT_STREQ(text, expected[index]);
  }
}

TEST_F(MainWindow, NextTabVisitsEveryViewAndComesBackKeepingTheSelectionInStep) {
  SelectTab(kTabLists);
  const int order[] = {kTabActive, kTabDone, kTabCalendar, kTabLists};
  for (int index : order) {
    SelectNextTab();
    EXPECT_EQ(App().currentView, View(index)) << index;
    EXPECT_EQ(CurrentTabIndex(), index);
    EXPECT_EQ(TabSelection(), index);
    EXPECT_EQ(TopView(), View(index)) << "tab " << index << " not raised";
  }
  EXPECT_TRUE(prompts.shown().empty());
}

TEST_F(MainWindow, TheTreeHostSeesTheSelectedTreeAndNoTreeOnTheCalendar) {
  Win32TreeHost& host = MainTreeHost();
  SelectTab(kTabDone);
  EXPECT_EQ(host.CurrentView(), App().done);
  SelectTab(kTabCalendar);
  EXPECT_EQ(host.CurrentView(), nullptr);
  host.SelectNextTab();
  EXPECT_EQ(host.CurrentView(), App().lists);
}

TEST_F(MainWindow, AnUnknownTabWarnsAndKeepsTheView) {
  SelectTab(kTabActive);
  SelectTab(4);
  SelectTab(-1);
  EXPECT_EQ(App().currentView, View(kTabActive));
  EXPECT_EQ(TabSelection(), kTabActive);
  ASSERT_EQ(prompts.Texts().size(), 2u);
  EXPECT_EQ(prompts.Texts()[0], "Unknown tab!");
}

TEST_F(MainWindow, TheTabControlsChangeSelectsItsTab) {
  SendMessageA(Tabs(), TCM_SETCURSEL, kTabDone, 0);
  NMHDR change = {Tabs(), 0, static_cast<UINT>(TCN_SELCHANGE)};
  SendMessageA(main, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&change));
  EXPECT_EQ(App().currentView, View(kTabDone));
}

TEST_F(MainWindow, AClickOnATabDrawsTheStripWithThatTabSelected) {
  SetWindowPos(main, HWND_TOPMOST, 300, 200, 320, 280, SWP_SHOWWINDOW);
  SendMessageA(main, WM_SIZE, SIZE_RESTORED, 0);
  auto pump = [] {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  };
  // The strip as it stands on the screen now.
  auto strip = [&] {
    RECT display;
    GetClientRect(Tabs(), &display);
    const int width = display.right;
    SendMessageA(Tabs(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    PixelCanvas canvas(width, display.top, 0);
    HDC screen = GetDC(Tabs());
    BitBlt(canvas.dc(), 0, 0, canvas.width(), canvas.height(), screen, 0, 0, SRCCOPY);
    ReleaseDC(Tabs(), screen);
    std::vector<uint32_t> pixels;
    for (int y = 0; y < canvas.height(); ++y)
      for (int x = 0; x < canvas.width(); ++x) pixels.push_back(canvas.At(x, y));
    return pixels;
  };
  UpdateWindow(main);
  pump();
  for (int index : {kTabDone, kTabActive, kTabCalendar, kTabLists}) {
    SCOPED_TRACE(index);
    RECT item;
    ASSERT_TRUE(SendMessageA(Tabs(), TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item)));
    const LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    SendMessageA(Tabs(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(Tabs(), WM_LBUTTONUP, 0, at);
    pump();
    ASSERT_EQ(CurrentTabIndex(), index);
    ASSERT_EQ(TabSelection(), index);
    const std::vector<uint32_t> shown = strip();
    // What the control draws for its state when it paints the strip anew.
    RedrawWindow(Tabs(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    pump();
    EXPECT_TRUE(shown == strip());
  }
}

TEST_F(MainWindow, LayoutPutsEveryViewBelowTheTabStripAcrossTheWholeWidth) {
  SetWindowPos(main, nullptr, 0, 0, 320, 280, SWP_NOMOVE | SWP_NOZORDER);
  RECT client;
  GetClientRect(main, &client);
  RECT display = client;
  SendMessageA(Tabs(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
  ASSERT_GT(display.top, 0);
  RECT tabs = PlaceOf(Tabs());
  EXPECT_EQ(tabs.right, client.right);
  EXPECT_EQ(tabs.bottom, client.bottom);
  for (int index = 0; index < kTabCount; ++index) {
    RECT place = PlaceOf(View(index));
    EXPECT_EQ(place.left, 0) << index;
    EXPECT_EQ(place.top, display.top) << index;
    EXPECT_EQ(place.right, client.right) << index;
    EXPECT_EQ(place.bottom, client.bottom) << index;
  }
}

TEST_F(MainWindow, CloseSavesListsAndSettingsAndOnlyHides) {
  ShowWindow(main, SW_SHOW);
  EXPECT_EQ(SendMessageA(main, WM_CLOSE, 0, 0), 0);
  EXPECT_TRUE(IsWindow(main));
  EXPECT_FALSE(IsWindowVisible(main));
  EXPECT_TRUE(files.FileExists("C:\\data\\current\\list.xml"));
  EXPECT_TRUE(files.FileExists("C:\\data\\current\\done.xml"));
  RECT rect;
  GetWindowRect(main, &rect);
  uint32_t left = 0, bottom = 0;
  ASSERT_TRUE(store.ReadNumberSetting("left", &left));
  ASSERT_TRUE(store.ReadNumberSetting("bottom", &bottom));
  EXPECT_EQ(static_cast<LONG>(left), rect.left);
  EXPECT_EQ(static_cast<LONG>(bottom), rect.bottom);
}

TEST_F(MainWindow, AFailedSaveIsSaidAndExitAsksBeforeLosingTheChanges) {
  files.FailWritesTo("active.xml", 0);
  EXPECT_EQ(SendMessageA(main, WM_CLOSE, 0, 0), 0);
  EXPECT_FALSE(IsWindowVisible(main));
  EXPECT_TRUE(ListsSaveFailed());
  ASSERT_EQ(prompts.Texts().size(), 1u);
  EXPECT_EQ(prompts.Texts()[0], "Error: Could not save the lists!");
  EXPECT_FALSE(files.FileExists("C:\\data\\current\\list.xml"));

  // Exit tries again; the question is answered No, so the program stays.
  prompts.Answer(kAnswerNo);
  SendMessageA(main, WM_COMMAND, MAKEWPARAM(kTrayExit, 0), 0);
  EXPECT_TRUE(IsWindow(main));
  ASSERT_EQ(prompts.Texts().size(), 3u);
  EXPECT_EQ(prompts.Texts()[2],
            "The lists could not be saved. Exit anyway, losing the changes since the last save?");

  files.FailWritesTo("no such file", 0);
  SendMessageA(main, WM_CLOSE, 0, 0);
  EXPECT_FALSE(ListsSaveFailed());
  EXPECT_TRUE(files.FileExists("C:\\data\\current\\list.xml"));
}

// The close box and the skin's close button take no focus from a label
// edit: the name being typed must be in what the close saves.
TEST_F(MainWindow, CloseSavesTheNameBeingTyped) {
  ShowWindow(main, SW_SHOW);
  Node task = InsertTask(*App().lists, kRootNode, kLastNode, "Old name");
  HWND edit = TreeView_EditLabel(View(kTabLists), reinterpret_cast<HTREEITEM>(task));
  ASSERT_TRUE(edit);
  SetWindowTextA(edit, "Typed name");
  SendMessageA(main, WM_CLOSE, 0, 0);
  std::string saved;
  ASSERT_TRUE(files.ReadFile("C:\\data\\current\\list.xml", &saved));
  EXPECT_NE(saved.find("<name>Typed name</name>"), std::string::npos) << saved;
  EXPECT_EQ(TaskName(*App().lists, task), "Typed name");
}

TEST_F(MainWindow, EndOfSessionSavesAsCloseDoesWhateverItsParameters) {
  ShowWindow(main, SW_SHOW);
  SendMessageA(main, WM_ENDSESSION, FALSE, 0);
  EXPECT_FALSE(IsWindowVisible(main));
  EXPECT_TRUE(files.FileExists("C:\\data\\current\\active.xml"));
}

TEST_F(MainWindow, MinimisingAndEscapeHideWithoutEnding) {
  ShowWindow(main, SW_SHOW);
  EXPECT_EQ(SendMessageA(main, WM_SYSCOMMAND, SC_MINIMIZE, 0), 0);
  EXPECT_FALSE(IsWindowVisible(main));
  EXPECT_FALSE(files.FileExists("C:\\data\\current\\list.xml"));  // minimising does not save

  ShowWindow(main, SW_SHOW);
  SendMessageA(main, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_FALSE(IsWindowVisible(main));
  EXPECT_TRUE(files.FileExists("C:\\data\\current\\list.xml"));  // Escape closes, which saves
  EXPECT_TRUE(IsWindow(main));
}

TEST_F(MainWindow, MovingNearTheTopSnapsOntoTheScreensEdge) {
  RECT proposed;
  GetWindowRect(main, &proposed);
  const LONG height = proposed.bottom - proposed.top;
  OffsetRect(&proposed, 0, 5 - proposed.top);  // 5 pixels below the top
  EXPECT_EQ(SendMessageA(main, WM_MOVING, WMSZ_TOP, reinterpret_cast<LPARAM>(&proposed)), TRUE);
  EXPECT_EQ(proposed.top, 0);
  EXPECT_EQ(proposed.bottom, height);
}

// Moved to a monitor of another scale and back: the window takes the
// suggested rectangle, and the views' rows, check boxes and fonts follow.
TEST_F(MainWindow, ADpiChangeRescalesTheViewsAndTakesTheSuggestedPlace) {
  struct Step {
    int dpi;
    RECT suggested;
    int row;       // and check-box side
    LONG treeFont;
    LONG tabFont;
  };
  const Step steps[] = {{144, {200, 150, 575, 525}, 24, 15, 18}, {96, {220, 160, 470, 410}, 16, 10, 12}};
  for (const Step& step : steps) {
    SCOPED_TRACE(step.dpi);
    EXPECT_EQ(SendMessageA(main, WM_DPICHANGED, MAKEWPARAM(step.dpi, step.dpi),
                           reinterpret_cast<LPARAM>(&step.suggested)),
              0);
    RECT now;
    GetWindowRect(main, &now);
    EXPECT_TRUE(EqualRect(&now, &step.suggested));
    for (Handle tree : {App().listsTree, App().activeTree, App().doneTree})
      EXPECT_EQ(SendMessageA(Window(tree), TVM_GETITEMHEIGHT, 0, 0), step.row);
    int width = 0, height = 0;
    HIMAGELIST boxes = TreeView_GetImageList(Window(App().listsTree), TVSIL_STATE);
    ASSERT_TRUE(ImageList_GetIconSize(boxes, &width, &height));
    EXPECT_EQ(width, step.row);
    EXPECT_EQ(ImageList_GetImageCount(boxes), 3);
    LOGFONTA font = {};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(Window(App().listsTree), WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_EQ(font.lfHeight, step.treeFont);
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(Window(App().tabControl), WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_EQ(font.lfHeight, step.tabFont);
  }
}

// A skin is built anew at the multiple of the new scale: the window, its
// rows and check boxes twice the skin's size at 144 DPI, its own at 96.
TEST_F(MainWindow, ADpiChangeRebuildsTheSkinAtTheMultipleOfTheNewScale) {
  ASSERT_EQ(LoadSkin(main, BundledSkin("Default").c_str(), false), 1);
  const struct {
    int dpi;
    int multiple;
  } steps[] = {{144, 2}, {96, 1}};
  for (const auto& [dpi, multiple] : steps) {
    SCOPED_TRACE(dpi);
    RECT suggested = {10, 10, 20, 20};
    SendMessageA(main, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_TRUE(IsSkinned());
    RECT now;
    GetWindowRect(main, &now);
    EXPECT_EQ(now.right - now.left, 264 * multiple);
    EXPECT_EQ(now.bottom - now.top, 352 * multiple);
    EXPECT_EQ(SendMessageA(Window(App().listsTree), TVM_GETITEMHEIGHT, 0, 0), 16 * multiple);
    int width = 0, height = 0;
    ASSERT_TRUE(ImageList_GetIconSize(TreeView_GetImageList(Window(App().listsTree), TVSIL_STATE), &width, &height));
    EXPECT_EQ(width, 16 * multiple);
  }
}

TEST_F(MainWindow, TrayClicksShowTheWindowAndAnswerAsTheShellExpects) {
  SelectTab(kTabActive);
  EXPECT_EQ(SendMessageA(main, kTrayIconMessage, 0, WM_LBUTTONDOWN), 0);
  EXPECT_TRUE(IsWindowVisible(main));
  EXPECT_EQ(GetFocus(), View(kTabActive));
  EXPECT_EQ(SendMessageA(main, kTrayIconMessage, 0, WM_MOUSEMOVE), 0);
}

// Like every modeless dialog, About takes its keys from the message loop
// while it is active: Enter presses its OK.
TEST_F(MainWindow, TheAboutBoxTakesTheKeysWhileActive) {
  HWND about = CreateAboutDialog(GetModuleHandleA(nullptr), main);
  ASSERT_TRUE(about);
  ShowWindow(about, SW_SHOW);
  SendMessageA(about, WM_ACTIVATE, WA_ACTIVE, 0);
  ASSERT_EQ(App().activeDialog, about);
  MSG enter = {};
  enter.hwnd = GetDlgItem(about, IDOK);
  enter.message = WM_KEYDOWN;
  enter.wParam = VK_RETURN;
  EXPECT_TRUE(IsDialogMessageA(about, &enter));
  EXPECT_FALSE(IsWindowVisible(about));
  SendMessageA(about, WM_ACTIVATE, WA_INACTIVE, 0);
  EXPECT_EQ(App().activeDialog, nullptr);
  DestroyWindow(about);
}

TEST_F(MainWindow, MenuCommandsReachTheTrayOnlyAsMenuCommands) {
  // A control's notification with the same id is not a tray command.
  SendMessageA(main, WM_COMMAND, MAKEWPARAM(kTrayBackupLists, 1), 0);
  EXPECT_TRUE(prompts.shown().empty());
  SendMessageA(main, WM_COMMAND, MAKEWPARAM(kTrayBackupLists, 0), 0);
  ASSERT_EQ(prompts.Texts().size(), 1u);
  EXPECT_EQ(prompts.Texts()[0], "Backup succeeded!");
  EXPECT_TRUE(files.FileExists("C:\\data\\" + FormatDate(kFixtureNow) + "\\list.xml"));
  EXPECT_FALSE(IsWindowVisible(main));  // a backup leaves a hidden window hidden
}

}  // namespace
