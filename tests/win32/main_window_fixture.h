// The main window as start-up makes it, on real windows: the procedure,
// the tab control, the three trees with their forests and the calendar,
// over the in-memory services of AppFixture and a settings store in memory.
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "app/win32/calendar_win32.h"
#include "app/win32/mainwindow.h"
#include "app/win32/tabs.h"
#include "app/win32/windowsettings.h"
#include "base/appstate.h"
#include "base/settingsstore.h"
#include "base/win32/treeview_forest.h"
#include "fakes/memorysettings.h"
#include "tests/native/fixture.h"
#include "tree/win32/tasktree_win32.h"
#include "tree/win32/treewindow.h"

// A window of the organiser's procedure, in the plain frame unless told
// otherwise.
inline HWND MakeMainWindow(DWORD exStyle = WS_EX_TOOLWINDOW, DWORD style = WS_OVERLAPPEDWINDOW,
                           RECT place = {300, 200, 550, 450}) {
  static bool registered = false;
  if (!registered) {
    WNDCLASSEXA cls = {};
    cls.cbSize = sizeof cls;
    cls.style = CS_DBLCLKS;
    cls.lpfnWndProc = MainWindowProc;
    cls.hInstance = GetModuleHandleA(nullptr);
    cls.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    cls.lpszClassName = "VelkinMainWindowTest";
    registered = RegisterClassExA(&cls) != 0;
  }
  return CreateWindowExA(exStyle, "VelkinMainWindowTest", "Main window test", style, place.left, place.top,
                         place.right - place.left, place.bottom - place.top, nullptr, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

struct MainWindow : AppFixture {
  HWND main = nullptr;
  std::unique_ptr<TreeViewForest> listsTree, activeTree, doneTree;
  MemorySettingsStore store;

  void SetUp() override {
    AppFixture::SetUp();
    files.CreateFolder("C:\\data\\");
    std::strcpy(App().dataFolderOverride, "C:\\data\\");
    UseSettingsStore(&store);
    HINSTANCE instance = GetModuleHandleA(nullptr);
    main = MakeMainWindow();
    ASSERT_NE(main, nullptr);
    App().instance = instance;
    App().mainWindow = main;
    App().tabControl = CreateTabControl(instance, main);
    listsTree = MakeTree(true, &App().listsTree);
    activeTree = MakeTree(false, &App().activeTree);
    doneTree = MakeTree(false, &App().doneTree);
    App().lists = listsTree.get();
    App().active = activeTree.get();
    App().done = doneTree.get();
    ASSERT_NE(CreateCalendar(instance, main), nullptr);
    App().currentView = App().listsTree;
  }

  std::unique_ptr<TreeViewForest> MakeTree(bool checkBoxes, Handle* window) {
    HWND tree = CreateTaskTree(GetModuleHandleA(nullptr), main, checkBoxes, TreeWindowProc);
    AttachTreeImages(tree);
    *window = tree;
    return std::make_unique<TreeViewForest>(tree, DestroyTaskTree);
  }

  void TearDown() override {
    UseSettingsStore(nullptr);
    if (App().calendar) DestroyCalendar(static_cast<HWND>(App().calendar));
    App().lists = &lists;
    App().active = &active;
    App().done = &done;
    listsTree.reset();
    activeTree.reset();
    doneTree.reset();
    if (App().tabControl) DestroyWindow(static_cast<HWND>(App().tabControl));
    DestroyWindow(main);
    AppFixture::TearDown();
  }

  int TabSelection() { return static_cast<int>(SendMessageA(Tabs(), TCM_GETCURSEL, 0, 0)); }
  HWND Tabs() { return static_cast<HWND>(App().tabControl); }
  HWND View(int index) {
    Handle views[] = {App().listsTree, App().activeTree, App().doneTree, App().calendar};
    return static_cast<HWND>(views[index]);
  }
  // The topmost of the views: the child highest in the z-order among them.
  HWND TopView() {
    for (HWND child = GetWindow(main, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
      for (int index = 0; index < kTabCount; ++index)
        if (child == View(index)) return child;
    return nullptr;
  }
  RECT PlaceOf(HWND child) {
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
  }
};
