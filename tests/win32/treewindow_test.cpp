// The tree window procedure on real trees: keys, clicks, the label-edit
// guard, the pop-up menus, the clipboard and the scroll bars, with the
// trees' notifications going through OnTreeNotify as the main window's do.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "base/appstate.h"
#include "base/clipboard.h"
#include "base/clock.h"
#include "base/prompts.h"
#include "base/win32/treeview_forest.h"
#include "fakes/manualclock.h"
#include "fakes/scriptedprompts.h"
#include "tree/commands.h"
#include "tree/tasktree.h"
#include "tree/win32/tasktree_win32.h"
#include "tree/win32/treewindow.h"

namespace {

LRESULT CALLBACK NotifyingMainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NOTIFY) return OnTreeNotify(reinterpret_cast<NMHDR*>(lParam));
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND NotifyingMainWindow() {
  static HWND window = nullptr;
  if (window && IsWindow(window)) return window;
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA cls = {};
  cls.lpfnWndProc = NotifyingMainProc;
  cls.hInstance = instance;
  cls.hCursor = LoadCursor(nullptr, IDC_ARROW);
  cls.lpszClassName = "VelkinTreeWindowTest";
  RegisterClassA(&cls);
  window = CreateWindowExA(0, "VelkinTreeWindowTest", "Velkin tree window test", WS_OVERLAPPEDWINDOW, 0, 0,
                           300, 260, nullptr, nullptr, instance, nullptr);
  return window;
}

// The window side as the program has it, but with the tabs fixed by the
// test and the calls the window procedure cannot show kept.
class TestHost final : public TreeHost {
 public:
  TaskForest* CurrentView() override { return view; }
  void FocusCurrentView() override {
    if (view) SetFocus(static_cast<HWND>(view->Window()));
  }
  void RepaintTree(TaskForest& tree) override { ::RepaintTree(static_cast<HWND>(tree.Window())); }
  void ScrollLine(TaskForest& tree, bool up) override {
    SendMessageA(static_cast<HWND>(tree.Window()), WM_VSCROLL, up ? SB_LINEUP : SB_LINEDOWN, 0);
  }
  void CloseMainWindow() override { ++closes; }
  void SelectNextTab() override {}
  void SaveSettings() override {}
  void RunActivationCheck() override {}
  void ShowPropertiesDialog(TaskRecord* record, bool editable) override {
    properties.push_back(record);
    editables.push_back(editable);
  }
  void GuardLabelEdit(Handle edit) override { GuardLabelEditWindow(static_cast<HWND>(edit)); }

  TaskForest* view = nullptr;
  int closes = 0;
  std::vector<TaskRecord*> properties;
  std::vector<bool> editables;
};

std::unique_ptr<TreeViewForest> MakeTree(bool checkBoxes) {
  HWND tree = CreateTaskTree(GetModuleHandleA(nullptr), NotifyingMainWindow(), checkBoxes, TreeWindowProc);
  if (!tree) return nullptr;
  AttachTreeImages(tree);
  return std::make_unique<TreeViewForest>(tree, DestroyTaskTree);
}

void SetControlKey(bool down) {
  BYTE keys[256];
  GetKeyboardState(keys);
  keys[VK_CONTROL] = down ? 0x80 : 0;
  SetKeyboardState(keys);
}

struct TreeWindow : ::testing::Test {
  std::unique_ptr<TreeViewForest> lists;
  std::unique_ptr<TreeViewForest> active;
  std::unique_ptr<TreeViewForest> done;
  ScriptedPrompts prompts;
  ManualClock clock{DateTime{2008, 3, 5, 7, 9, 5, 0, 0}};
  TestHost host;

  void SetUp() override {
    ResetAppState();
    lists = MakeTree(true);
    active = MakeTree(false);
    done = MakeTree(false);
    ASSERT_TRUE(lists && active && done);
    AppState& app = App();
    app.instance = GetModuleHandleA(nullptr);
    app.mainWindow = NotifyingMainWindow();
    app.lists = lists.get();
    app.active = active.get();
    app.done = done.get();
    app.listsTree = lists->Window();
    app.activeTree = active->Window();
    app.doneTree = done->Window();
    app.currentView = lists->Window();
    app.prompts = &prompts;
    app.clock = &clock;
    app.clipboard = HostClipboard();
    app.vscroll = 1;
    host.view = lists.get();
    SetHost(&host);
  }
  void TearDown() override {
    SetControlKey(false);
    ResetCommands();
    SetHost(nullptr);
    FreeRecords();
    lists.reset();
    active.reset();
    done.reset();
    ClearRegister(App().tasks);
    ResetAppState();
    PumpMessages();
  }
  void FreeRecords() {
    std::vector<TaskRecord*> records;
    for (TaskForest* forest : {static_cast<TaskForest*>(lists.get()), static_cast<TaskForest*>(active.get()),
                               static_cast<TaskForest*>(done.get())}) {
      ForEachNode(*forest, [&](Node at) {
        if (TaskRecord* record = RecordOf(*forest, at)) records.push_back(record);
      });
      forest->Delete(kRootNode);
    }
    for (TaskRecord* record : records) FreeTaskRecord(record);
  }
  static void PumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }

  HWND Tree(TaskForest& forest) { return static_cast<HWND>(forest.Window()); }
  HTREEITEM Item(Node node) { return reinterpret_cast<HTREEITEM>(node); }
  Node Add(TaskForest& tree, Node parent, const char* name) {
    return InsertTask(tree, parent ? parent : kRootNode, kLastNode, name);
  }
  LRESULT Key(TaskForest& tree, UINT key) { return SendMessageA(Tree(tree), WM_KEYDOWN, key, 0); }
  LPARAM At(POINT point) { return MAKELPARAM(point.x, point.y); }
  // A point of the node's row whose hit test has the flag.
  bool PointWith(TaskForest& tree, Node node, UINT flag, POINT* point) {
    RECT row{};
    if (!TreeView_GetItemRect(Tree(tree), Item(node), &row, FALSE)) return false;
    for (int x = row.left; x < row.right; ++x) {
      TVHITTESTINFO hit{};
      hit.pt = {x, (row.top + row.bottom) / 2};
      if (TreeView_HitTest(Tree(tree), &hit) == Item(node) && (hit.flags & flag)) {
        *point = hit.pt;
        return true;
      }
    }
    return false;
  }
  std::string ClipboardText() {
    std::string text;
    EXPECT_TRUE(HostClipboard()->GetText(&text));
    return text;
  }
  bool Greyed(HMENU menu, UINT id) { return (GetMenuState(menu, id, MF_BYCOMMAND) & MF_GRAYED) != 0; }
  // Ids of the first submenu in order, 0 for a separator.
  std::vector<UINT> Ids(HMENU menu) {
    std::vector<UINT> ids;
    HMENU popup = GetSubMenu(menu, 0);
    for (int i = 0; i < GetMenuItemCount(popup); ++i) ids.push_back(GetMenuItemID(popup, i));
    return ids;
  }
  std::string Label(HMENU menu, UINT id) {
    char text[64] = "";
    GetMenuStringA(menu, id, text, sizeof text, MF_BYCOMMAND);
    return text;
  }
};

TEST_F(TreeWindow, EnterMakesAGuardedEditAndEscRemovesTheEmptyNode) {
  SetFocus(Tree(*lists));
  EXPECT_EQ(Key(*lists, VK_RETURN), 0);
  Node made = FirstChild(*lists, kRootNode);
  ASSERT_TRUE(made);
  HWND edit = TreeView_GetEditControl(Tree(*lists));
  ASSERT_TRUE(edit);
  EXPECT_EQ(App().labelEdit, edit);

  for (char c : std::string("<a>b<")) SendMessageA(edit, WM_CHAR, static_cast<WPARAM>(c), 0);
  char typed[16] = "";
  GetWindowTextA(edit, typed, sizeof typed);
  EXPECT_STREQ(typed, "ab");

  TreeView_EndEditLabelNow(Tree(*lists), FALSE);
  EXPECT_EQ(TaskName(*lists, made), "ab");
  EXPECT_EQ(App().labelEdit, nullptr);

  // A new node left without a name goes again.
  Key(*lists, VK_RETURN);
  ASSERT_TRUE(TreeView_GetEditControl(Tree(*lists)));
  EXPECT_EQ(lists->Count(), 2u);
  TreeView_EndEditLabelNow(Tree(*lists), TRUE);
  EXPECT_EQ(lists->Count(), 1u);
  EXPECT_EQ(App().tasks.count, 1u);
  EXPECT_TRUE(prompts.shown().empty());
}

TEST_F(TreeWindow, RenamingTheListsNodeRenamesItsActiveCopy) {
  Node task = Add(*lists, nullptr, "Task");
  ASSERT_EQ(ActivateTask(*lists, task), 1);
  Node copy = RecordOf(*lists, task)->link;
  HWND edit = TreeView_EditLabel(Tree(*lists), Item(task));
  ASSERT_TRUE(edit);
  SetWindowTextA(edit, "Renamed");
  TreeView_EndEditLabelNow(Tree(*lists), FALSE);
  PumpMessages();
  EXPECT_EQ(TaskName(*lists, task), "Renamed");
  EXPECT_EQ(TaskName(*active, copy), "Renamed");
}

TEST_F(TreeWindow, KeysDriveTheCommandsAndCharactersNeverReachTheControl) {
  Node folder = Add(*lists, nullptr, "Folder");
  Node task = Add(*lists, folder, "Task");
  TreeView_SelectItem(Tree(*lists), Item(task));

  EXPECT_EQ(Key(*lists, VK_SPACE), 0);
  EXPECT_EQ(CheckStateOf(*lists, task), kChecked);
  ASSERT_TRUE(RecordOf(*lists, task)->link);
  EXPECT_EQ(TaskName(*active, RecordOf(*lists, task)->link), "Task");

  // Space as a character toggles nothing.
  EXPECT_EQ(SendMessageA(Tree(*lists), WM_CHAR, ' ', 0), 0);
  EXPECT_EQ(CheckStateOf(*lists, task), kChecked);

  // Typing a letter searches nothing: the selection stays.
  TreeView_SelectItem(Tree(*lists), Item(folder));
  SendMessageA(Tree(*lists), WM_CHAR, 'T', 0);
  EXPECT_EQ(SelectedNode(*lists), folder);

  EXPECT_EQ(Key(*lists, VK_ESCAPE), 0);
  EXPECT_EQ(host.closes, 1);

  TreeView_SelectItem(Tree(*lists), Item(task));
  EXPECT_EQ(Key(*lists, VK_SHIFT), 0);
  EXPECT_EQ(TaskName(*done, FirstChild(*done, FirstChild(*done, kRootNode))), "Task");
  EXPECT_EQ(active->Count(), 1u);  // the folder "Today"
  EXPECT_EQ(lists->Count(), 1u);
}

TEST_F(TreeWindow, ControlCopiesTheSubtreeAsText) {
  Node folder = Add(*lists, nullptr, "\xC4\x8C" "aj \xE6\x97\xA5\xE6\x9C\xAC \xE2\x9C\x93");
  Node task = Add(*lists, folder, "Task");
  Add(*lists, task, "Step");
  TreeView_SelectItem(Tree(*lists), Item(task));
  SetControlKey(true);
  EXPECT_EQ(Key(*lists, 'C'), 0);
  EXPECT_EQ(ClipboardText(), "Task\r\n\tStep\r\n");
  EXPECT_EQ(Key(*lists, 'A'), 0);
  EXPECT_EQ(ClipboardText(), "\xC4\x8C" "aj \xE6\x97\xA5\xE6\x9C\xAC \xE2\x9C\x93\r\n\tTask\r\n\t\tStep\r\n");
  EXPECT_EQ(GetClipboardOwner(), Tree(*lists));

  // The clipboard's own memory holds the terminated text as Unicode, so
  // that other programs get the name in any script.
  ASSERT_TRUE(OpenClipboard(nullptr));
  HANDLE data = GetClipboardData(CF_UNICODETEXT);
  ASSERT_TRUE(data);
  const wchar_t* wide = static_cast<const wchar_t*>(GlobalLock(data));
  ASSERT_TRUE(wide);
  EXPECT_STREQ(wide, L"\u010Caj \u65E5\u672C \u2713\r\n\tTask\r\n\t\tStep\r\n");
  GlobalUnlock(data);
  CloseClipboard();

  SetControlKey(false);
  // Without Control the letter goes to the control and copies nothing.
  CopyAllText(*done);
  Key(*lists, 'C');
  EXPECT_EQ(ClipboardText(), "");
}

TEST_F(TreeWindow, AClickOnAListsCheckBoxActivatesAtOnce) {
  Node folder = Add(*lists, nullptr, "Folder");
  Node task = Add(*lists, folder, "Task");
  TreeView_Expand(Tree(*lists), Item(folder), TVE_EXPAND);
  POINT box{};
  ASSERT_TRUE(PointWith(*lists, task, TVHT_ONITEMSTATEICON, &box));
  EXPECT_EQ(SendMessageA(Tree(*lists), WM_LBUTTONDOWN, MK_LBUTTON, At(box)), 1);
  SendMessageA(Tree(*lists), WM_LBUTTONUP, 0, At(box));
  PumpMessages();
  EXPECT_EQ(CheckStateOf(*lists, task), kChecked);
  EXPECT_EQ(SelectedNode(*lists), task);
  ASSERT_TRUE(RecordOf(*lists, task)->link);

  SendMessageA(Tree(*lists), WM_LBUTTONDOWN, MK_LBUTTON, At(box));
  SendMessageA(Tree(*lists), WM_LBUTTONUP, 0, At(box));
  PumpMessages();
  EXPECT_EQ(CheckStateOf(*lists, task), kUnchecked);
  EXPECT_EQ(RecordOf(*lists, task)->link, nullptr);
  EXPECT_EQ(active->Count(), 1u);
}

TEST_F(TreeWindow, ADoubleClickOnAListsCheckBoxIsTwoClicksAndBoxAndLinksAgree) {
  Node task = Add(*lists, nullptr, "Task");
  POINT box{};
  ASSERT_TRUE(PointWith(*lists, task, TVHT_ONITEMSTATEICON, &box));
  // What the system sends for a double click: the second press arrives as
  // WM_LBUTTONDBLCLK.
  for (int round = 1; round <= 2; ++round) {
    SendMessageA(Tree(*lists), WM_LBUTTONDOWN, MK_LBUTTON, At(box));
    SendMessageA(Tree(*lists), WM_LBUTTONUP, 0, At(box));
    SendMessageA(Tree(*lists), WM_LBUTTONDBLCLK, MK_LBUTTON, At(box));
    SendMessageA(Tree(*lists), WM_LBUTTONUP, 0, At(box));
    PumpMessages();
    SCOPED_TRACE(round);
    EXPECT_EQ(CheckStateOf(*lists, task), kUnchecked);
    EXPECT_EQ(RecordOf(*lists, task)->link, nullptr);
    EXPECT_EQ(active->Count(), 1u);  // the "Today" folder alone
  }
  // A third click activates: one copy, linked both ways.
  SendMessageA(Tree(*lists), WM_LBUTTONDOWN, MK_LBUTTON, At(box));
  SendMessageA(Tree(*lists), WM_LBUTTONUP, 0, At(box));
  PumpMessages();
  EXPECT_EQ(CheckStateOf(*lists, task), kChecked);
  ASSERT_TRUE(RecordOf(*lists, task)->link);
  EXPECT_EQ(RecordOf(*active, RecordOf(*lists, task)->link)->link, task);
  EXPECT_EQ(active->Count(), 2u);
}

TEST_F(TreeWindow, ClicksInDoneSelectWithoutEditing) {
  Node completed = Add(*done, nullptr, "Completed");
  Node task = Add(*done, completed, "Task");
  TreeView_Expand(Tree(*done), Item(completed), TVE_EXPAND);
  App().currentView = done->Window();
  host.view = done.get();
  POINT label{};
  ASSERT_TRUE(PointWith(*done, task, TVHT_ONITEMLABEL, &label));
  for (int i = 0; i < 2; ++i) {  // the second click is on the selected node
    EXPECT_EQ(SendMessageA(Tree(*done), WM_LBUTTONDOWN, MK_LBUTTON, At(label)), 0);
    SendMessageA(Tree(*done), WM_LBUTTONUP, 0, At(label));
  }
  PumpMessages();
  Sleep(600);  // longer than any double-click wait of the control
  PumpMessages();
  EXPECT_EQ(SelectedNode(*done), task);
  EXPECT_EQ(TreeView_GetEditControl(Tree(*done)), nullptr);

  // Below the last node nothing is hit: the selection is cleared.
  RECT client{};
  GetClientRect(Tree(*done), &client);
  POINT empty = {5, client.bottom - 5};
  SendMessageA(Tree(*done), WM_LBUTTONDOWN, MK_LBUTTON, At(empty));
  SendMessageA(Tree(*done), WM_LBUTTONUP, 0, At(empty));
  EXPECT_EQ(SelectedNode(*done), nullptr);
}

TEST_F(TreeWindow, DoubleClicksToggleFoldersAndShowPropertiesOfTasks) {
  Node folder = Add(*lists, nullptr, "Folder");
  Node task = Add(*lists, folder, "Task");
  POINT point{};
  ASSERT_TRUE(PointWith(*lists, folder, TVHT_ONITEMLABEL, &point));
  SendMessageA(Tree(*lists), WM_LBUTTONDBLCLK, MK_LBUTTON, At(point));
  EXPECT_TRUE(IsExpanded(*lists, folder));
  EXPECT_TRUE(host.properties.empty());
  ASSERT_TRUE(PointWith(*lists, task, TVHT_ONITEMLABEL, &point));
  SendMessageA(Tree(*lists), WM_LBUTTONDBLCLK, MK_LBUTTON, At(point));
  ASSERT_EQ(host.properties.size(), 1u);
  EXPECT_EQ(host.properties[0], RecordOf(*lists, task));
  EXPECT_TRUE(host.editables[0]);
  EXPECT_EQ(TreeView_GetEditControl(Tree(*lists)), nullptr);

  Node completed = Add(*done, nullptr, "Completed");
  ASSERT_TRUE(PointWith(*done, completed, TVHT_ONITEMLABEL, &point));
  SendMessageA(Tree(*done), WM_LBUTTONDBLCLK, MK_LBUTTON, At(point));
  ASSERT_EQ(host.properties.size(), 2u);
  EXPECT_FALSE(host.editables[1]);
}

TEST_F(TreeWindow, MenusAreLoadedWithTheirItemsAndGreyedByTheRules) {
  Node item = Add(*lists, nullptr, "Item");
  Node folder = Add(*active, nullptr, "Folder");
  Node task = Add(*active, folder, "Task");
  Node completed = Add(*done, nullptr, "Completed");

  HMENU menu = PrepareTreeMenu(Tree(*lists), Item(item));
  ASSERT_TRUE(menu);
  EXPECT_EQ(Ids(menu),
            (std::vector<UINT>{501, 502, 0, 511, 503, 504, 505, 0, 512, 0, 506, 507, 508, 513, 0, 510}));
  EXPECT_EQ(Label(menu, 501), "New Task \b Enter");
  EXPECT_EQ(Label(menu, 510), "Properties \b Dbl-Click");
  EXPECT_TRUE(Greyed(menu, 504));
  EXPECT_TRUE(Greyed(menu, 505));
  EXPECT_FALSE(Greyed(menu, 506));
  DestroyMenu(menu);

  menu = PrepareTreeMenu(Tree(*active), Item(folder));
  ASSERT_TRUE(menu);
  EXPECT_EQ(Ids(menu), (std::vector<UINT>{501, 0, 511, 503, 504, 505, 0, 512, 0, 506, 507, 508, 0, 510}));
  EXPECT_EQ(Label(menu, 501), "New Folder \b Enter");
  EXPECT_EQ(Label(menu, 506), "Deactivate \b Space");
  for (UINT id : {504u, 505u, 506u, 507u, 510u}) EXPECT_TRUE(Greyed(menu, id)) << id;
  for (UINT id : {501u, 503u, 508u, 511u, 512u}) EXPECT_FALSE(Greyed(menu, id)) << id;
  DestroyMenu(menu);

  CutTask(*active, task);
  menu = PrepareTreeMenu(Tree(*active), Item(task));
  for (UINT id : {504u, 505u, 506u, 507u, 510u}) EXPECT_FALSE(Greyed(menu, id)) << id;
  DestroyMenu(menu);

  menu = PrepareTreeMenu(Tree(*done), Item(completed));
  ASSERT_TRUE(menu);
  EXPECT_EQ(Ids(menu), (std::vector<UINT>{512, 0, 509, 508, 0, 510}));
  EXPECT_EQ(Label(menu, 509), "Restore \b Shift");
  DestroyMenu(menu);

  menu = PrepareTreeMenu(Tree(*lists), nullptr);
  ASSERT_TRUE(menu);
  EXPECT_EQ(Ids(menu), (std::vector<UINT>{501, 0, 504}));
  EXPECT_FALSE(Greyed(menu, 504));
  DestroyMenu(menu);

  EXPECT_EQ(PrepareTreeMenu(Tree(*active), nullptr), nullptr);
  EXPECT_EQ(PrepareTreeMenu(Tree(*done), nullptr), nullptr);
}

TEST_F(TreeWindow, AChosenMenuItemReachesItsCommand) {
  Node completed = Add(*done, nullptr, "Completed");
  Add(*done, completed, "Task");
  TreeView_Expand(Tree(*done), Item(completed), TVE_EXPAND);
  HostClipboard()->SetText(nullptr, "before", 6);
  POINT point{};
  ASSERT_TRUE(PointWith(*done, completed, TVHT_ONITEMLABEL, &point));
  // The menu's own loop reads these: the first item, "Copy All Text".
  PostMessageA(Tree(*done), WM_KEYDOWN, VK_DOWN, 0);
  PostMessageA(Tree(*done), WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(SendMessageA(Tree(*done), WM_RBUTTONDOWN, MK_RBUTTON, At(point)), 0);
  PumpMessages();
  EXPECT_EQ(SelectedNode(*done), completed);
  EXPECT_EQ(ClipboardText(), "Completed\r\n\tTask\r\n");

  // A stray command without a menu shown does nothing.
  HostClipboard()->SetText(nullptr, "before", 6);
  SendMessageA(Tree(*done), WM_COMMAND, MAKEWPARAM(kCmdCopyAllText, 0), 0);
  EXPECT_EQ(ClipboardText(), "before");
}

TEST_F(TreeWindow, WheelScrollsThreeLinesWhateverTheDelta) {
  for (int i = 0; i < 60; ++i) Add(*lists, nullptr, ("Node " + std::to_string(i)).c_str());
  HWND tree = Tree(*lists);
  EXPECT_EQ(GetScrollPos(tree, SB_VERT), 0);
  EXPECT_EQ(SendMessageA(tree, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA * 4)), 0), 0);
  EXPECT_EQ(GetScrollPos(tree, SB_VERT), 3);
  SendMessageA(tree, WM_MOUSEWHEEL, MAKEWPARAM(0, 0), 0);  // no delta: down
  EXPECT_EQ(GetScrollPos(tree, SB_VERT), 6);
  SendMessageA(tree, WM_MOUSEWHEEL, MAKEWPARAM(0, 1), 0);
  EXPECT_EQ(GetScrollPos(tree, SB_VERT), 3);
}

TEST_F(TreeWindow, ScrollBarsFollowTheOptions) {
  HWND tree = Tree(*lists);
  ShowWindow(NotifyingMainWindow(), SW_SHOWNA);
  auto vertical = [&] { return (GetWindowLongA(tree, GWL_STYLE) & WS_VSCROLL) != 0; };
  for (int i = 0; i < 60; ++i) Add(*lists, nullptr, ("Node " + std::to_string(i)).c_str());
  RefreshScrollBars(tree);
  EXPECT_TRUE(vertical());

  App().vscroll = 0;
  SetWindowPos(tree, nullptr, 0, 0, 250, 200, SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_FALSE(vertical());
  Add(*lists, nullptr, "One more");  // the control would show its bar again
  RefreshScrollBars(tree);
  PumpMessages();
  EXPECT_FALSE(vertical());

  App().vscroll = 1;
  SetWindowPos(tree, nullptr, 0, 0, 260, 210, SWP_NOZORDER | SWP_NOACTIVATE);
  Add(*lists, nullptr, "Again");
  PumpMessages();
  EXPECT_TRUE(vertical());
  // Nothing to scroll: no bar, whatever the option.
  FreeRecords();
  SendMessageA(tree, WM_SIZE, 0, 0);
  PumpMessages();
  EXPECT_FALSE(vertical());
  ShowWindow(NotifyingMainWindow(), SW_HIDE);
}

TEST_F(TreeWindow, PaintsOverTheTreeBackground) {
  HDC screen = GetDC(nullptr);
  HBITMAP background = CreateCompatibleBitmap(screen, 8, 8);
  ReleaseDC(nullptr, screen);
  ASSERT_TRUE(background);
  App().treeBackground = background;
  Add(*lists, nullptr, "Painted");
  ShowWindow(NotifyingMainWindow(), SW_SHOWNA);
  InvalidateRect(Tree(*lists), nullptr, TRUE);
  UpdateWindow(Tree(*lists));
  // Nothing left to paint: WM_PAINT was answered and validated the tree.
  EXPECT_FALSE(GetUpdateRect(Tree(*lists), nullptr, FALSE));
  EXPECT_EQ(SendMessageA(Tree(*lists), WM_ERASEBKGND, 0, 0), 0);
  RepaintTree(Tree(*lists));
  ShowWindow(NotifyingMainWindow(), SW_HIDE);
  App().treeBackground = nullptr;
  DeleteObject(background);
}

TEST_F(TreeWindow, DraggingOverEmptySpacePansSideways) {
  App().hscroll = 1;
  HWND tree = Tree(*lists);
  ShowWindow(NotifyingMainWindow(), SW_SHOWNA);
  Add(*lists, nullptr, std::string(120, 'W').c_str());
  RefreshScrollBars(tree);
  PumpMessages();
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_RANGE | SIF_PAGE;
  ASSERT_TRUE(GetScrollInfo(tree, SB_HORZ, &info));
  ASSERT_GT(info.nMax - static_cast<int>(info.nPage), 60);  // room to pan

  RECT client{};
  GetClientRect(tree, &client);
  const int y = client.bottom - 5;  // below the only node
  // The release waits in the queue, as it would while the button is held.
  PostMessageA(tree, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(60, y));
  PostMessageA(tree, WM_LBUTTONUP, 0, MAKELPARAM(60, y));
  SendMessageA(tree, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, y));
  PumpMessages();
  EXPECT_EQ(GetScrollPos(tree, SB_HORZ), 40);  // pointer left: content right
  EXPECT_NE(GetCapture(), tree);

  // Once released, moving the pointer pans no more.
  SendMessageA(tree, WM_MOUSEMOVE, 0, MAKELPARAM(10, y));
  EXPECT_EQ(GetScrollPos(tree, SB_HORZ), 40);
  // Moving right pans back.
  PostMessageA(tree, WM_LBUTTONUP, 0, MAKELPARAM(130, y));
  SendMessageA(tree, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, y));
  PumpMessages();
  EXPECT_EQ(GetScrollPos(tree, SB_HORZ), 10);

  // A pan whose release went elsewhere (a box took it): moving without the
  // button ends it where it stands.
  PanStart(tree, 100);
  SendMessageA(tree, WM_MOUSEMOVE, 0, MAKELPARAM(60, y));
  SendMessageA(tree, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(20, y));
  EXPECT_EQ(GetScrollPos(tree, SB_HORZ), 10);
  EXPECT_NE(GetCapture(), tree);
  ShowWindow(NotifyingMainWindow(), SW_HIDE);
}

}  // namespace
