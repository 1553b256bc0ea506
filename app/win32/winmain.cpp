// The organiser's entry: one instance, one main window with its tabs, trees
// and calendar, the tray icon, the lists loaded, then the message loop.
#include <windows.h>

#include <commctrl.h>

#include <string>

#include "alerts/activation.h"
#include "alerts/mailalert.h"
#include "alerts/win32/propertiesdialog.h"
#include "alerts/win32/settingsdialog.h"
#include "app/geometry.h"
#include "app/win32/about.h"
#include "app/win32/addtaskbox.h"
#include "app/win32/alerthost.h"
#include "app/win32/calendar_win32.h"
#include "app/win32/findbox.h"
#include "app/win32/instance.h"
#include "app/win32/mainwindow.h"
#include "app/win32/screens.h"
#include "app/win32/tabs.h"
#include "app/win32/tray.h"
#include "app/win32/treehost.h"
#include "app/win32/windowsettings.h"
#include "base/appstate.h"
#include "base/clipboard.h"
#include "base/clock.h"
#include "base/filesystem.h"
#include "base/hotkey.h"
#include "base/prompts.h"
#include "base/win32/dpi.h"
#include "base/win32/hotkey_win32.h"
#include "base/win32/scoped.h"
#include "base/win32/treeview_forest.h"
#include "data/listset.h"
#include "skin/win32/selectskin.h"
#include "skin/win32/skinlook.h"
#include "tree/commands.h"
#include "tree/tasktree.h"
#include "tree/win32/tasktree_win32.h"
#include "tree/win32/treewindow.h"

namespace {

// How long Exit waits for e-mail alerts on their way.
constexpr int kExitMailWaitMs = 10000;

bool RegisterMainClass(HINSTANCE instance) {
  WNDCLASSEXA windowClass = {};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_DBLCLKS;
  windowClass.lpfnWndProc = MainWindowProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
  windowClass.hIconSm = LoadIconA(nullptr, IDI_APPLICATION);
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.lpszClassName = kAppTitle;
  return RegisterClassExA(&windowClass) != 0;
}

HWND CreateMainWindow(HINSTANCE instance) {
  Rect place = DefaultWindowRect(WorkArea(), SystemDpi());
  HWND window = CreateWindowExA(WS_EX_TOOLWINDOW, kAppTitle, kAppTitle, WS_OVERLAPPEDWINDOW, place.left,
                                place.top, place.right - place.left, place.bottom - place.top, nullptr,
                                nullptr, instance, nullptr);
  if (!window) return nullptr;
  AppState& app = App();
  app.mainWindow = window;
  SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&app));
  app.instance = instance;
  return window;
}

// One of the three trees, with the forest the commands work through. The
// trees and their forests live as long as the process.
TaskForest* CreateTree(HINSTANCE instance, HWND main, bool checkBoxes, Handle* window) {
  HWND tree = CreateTaskTree(instance, main, checkBoxes, TreeWindowProc);
  *window = tree;
  if (!tree) return nullptr;
  AttachTreeImages(tree);
  return new TreeViewForest(tree);
}

// The default background, which the application state names and the
// caller owns for as long as the program runs.
ScopedGdiObject<HBITMAP> LoadDefaultBackground(HINSTANCE instance) {
  std::string path = std::string(ProgramFolder()) + "background.bmp";
  ScopedGdiObject<HBITMAP> bitmap(
      static_cast<HBITMAP>(LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE)));
  if (!bitmap)
    bitmap.reset(static_cast<HBITMAP>(
        LoadImageA(instance, "IDI_BACKGROUND", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  if (!bitmap) {
    ShowWarning("Could not load background image!");
    return bitmap;
  }
  App().defaultBackground = bitmap.get();
  App().treeBackground = bitmap.get();
  return bitmap;
}

void BuildTutorial(HWND main, TaskForest& lists) {
  Node tutorial = InsertTask(lists, kRootNode, kFirstNode, "Mini-Tutorial");
  ToggleBold(lists, tutorial);
  Node first = InsertTask(lists, tutorial, kFirstNode, "To add a new task, press enter");
  lists.Select(first, Relation::kCaret);
  static const char* const kSteps[] = {
      "To add a subtask, press tab",       "To activate a task, press space",
      "To complete a task, press shift",   "To organize tasks, drag with mouse",
      "To set properties, double click",   "Calendar shows due dates in bold",
      "Hover over dates to see due tasks",
  };
  for (const char* step : kSteps) InsertTask(lists, tutorial, kLastNode, step);
  Node tasks = InsertTask(lists, kRootNode, kLastNode, "Tasks");
  lists.Expand(tasks, ExpandAction::kExpand);
  ToggleBold(lists, tasks);
  InsertTask(lists, tasks, kFirstNode, "Get Organized!");
  lists.Expand(tasks, ExpandAction::kExpand);
  ShowBalloon(main, "Velkin Notification Icon", "Right Click on the Velkin icon to access the program menu.");
}

// A Unicode loop: a typed character beyond the keyboard's code page (an
// input method, Unicode input) reaches the controls whole; the program's
// own windows still get their messages in the ANSI (UTF-8) form.
int RunMessageLoop() {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    HWND dialog = static_cast<HWND>(App().activeDialog);
    if (dialog && IsDialogMessageW(dialog, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showCommand) {
  ResetAppState();
  // The services first: every message of the start-up goes through them.
  AppState& app = App();
  app.prompts = HostPrompts();
  app.clock = SystemClock();
  app.files = HostFileSystem();
  app.clipboard = HostClipboard();
  // Without it there is no help file and no "background.bmp"; both have
  // their own way out.
  LocateProgramFolder();

  if (!ClaimInstance()) return 0;

  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_TREEVIEW_CLASSES | ICC_TAB_CLASSES |
                                                        ICC_DATE_CLASSES | ICC_BAR_CLASSES |
                                                        ICC_HOTKEY_CLASS | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  const bool hidden = StartHidden(commandLine, showCommand);

  if (!RegisterMainClass(instance)) return 0;
  HWND main = CreateMainWindow(instance);
  if (!main) return 0;

  if (!AddTrayIcon(main, 0, LoadIconA(instance, "IDI_AEXEICON"), kAppTitle))
    ShowWarning("Error: Could not add taskbar icon");

  // The hidden modeless dialogs, in their order.
  app.propertiesDialog = CreatePropertiesDialog(instance, main, &MainSettingsStore());
  app.selectSkinDialog = CreateSelectSkinDialog(main, instance);
  app.settingsDialog = CreateSettingsDialog(instance, main, &MainSettingsStore());
  app.aboutDialog = CreateAboutDialog(instance, main);
  CreateAddTaskBox(instance, main);
  CreateFindBox(instance, main);

  app.tabControl = CreateTabControl(instance, main);

  app.lists = CreateTree(instance, main, true, &app.listsTree);
  app.active = CreateTree(instance, main, false, &app.activeTree);
  app.done = CreateTree(instance, main, false, &app.doneTree);
  if (!app.lists || !app.active || !app.done) return 0;

  SetHost(&MainTreeHost());

  // Messages about malformed files come from the reader; whatever was read
  // stays.
  LoadLists("current");
  ResolveLinks();
  if (app.listsIncomplete) ShowWarning(kListsIncomplete);

  CreateCalendar(instance, main);
  const ScopedGdiObject<HBITMAP> defaultBackground = LoadDefaultBackground(instance);

  app.currentView = app.listsTree;
  app.vscroll = 1;
  ReadMainWindowSettings();
  // Without stored settings nothing has sized the window since the views
  // were made over the whole client area: lay them out now.
  RECT client;
  GetClientRect(main, &client);
  SendMessageA(main, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
  // No skin was ever chosen: the bundled "Default".
  if (!app.skinPath[0] && app.selectSkinDialog) {
    std::string fallback =
        std::string(SkinsFolderOfDialog(static_cast<HWND>(app.selectSkinDialog))) + "\\Default";
    LoadSkin(main, fallback.c_str(), false);
  }

  HWND lists = static_cast<HWND>(app.listsTree);
  SetScrollPos(lists, SB_VERT, 0, TRUE);
  SetScrollPos(lists, SB_HORZ, 0, TRUE);

  ShowWindow(main, hidden ? SW_HIDE : SW_SHOW);
  UpdateWindow(main);

  BringWindowToTop(lists);
  SetFocus(lists);
  app.lists->Select(app.lists->GetNext(kRootNode, Relation::kChild), Relation::kCaret);
  InvalidateRect(lists, nullptr, TRUE);
  UpdateWindow(main);

  // Whatever came due while the program was not running activates now.
  RunMainActivationCheck();
  SetTimer(main, kActivationTimerId, kActivationTimerMs, nullptr);
  // A hot key another program holds is said by the Settings dialog.
  RegisterQuickAddHotKey(main, ReadHotKey(MainSettingsStore()));

  if (app.lists->Count() == 0) BuildTutorial(main, *app.lists);

  const int code = RunMessageLoop();
  // An alert still being sent gets a moment to finish; then the process
  // ends at once, so that no alert thread meets the program's static
  // objects and the TLS library being torn down.
  WaitForMailAlerts(kExitMailWaitMs);
  ExitProcess(static_cast<UINT>(code));
}
