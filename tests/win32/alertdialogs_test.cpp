// The Properties and Settings dialogs on their real controls, opened as the
// program opens them (a double-click in a tree, the tray's Settings), and
// the activation timer on the real main window.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "alerts/activation.h"
#include "alerts/mailalert.h"
#include "alerts/mailsettings.h"
#include "alerts/properties.h"
#include "alerts/win32/propertiesdialog.h"
#include "alerts/win32/settingsdialog.h"
#include "app/win32/mainwindow.h"
#include "app/win32/tray.h"
#include "app/win32/treehost.h"
#include "app/win32/windowsettings.h"
#include "base/boundedtext.h"
#include "base/settingsstore.h"
#include "base/win32/handles.h"
#include "base/win32/treeview_forest.h"
#include "data/datetext.h"
#include "tests/native/fixture.h"
#include "tests/win32/tree_window.h"
#include "tree/tasktree.h"
#include "tree/win32/tasktree_win32.h"
#include "tree/win32/treewindow.h"

namespace {

const char kServerQuestion[] =
    "You will not be able to receive email alerts until you have configured your server settings. Would you "
    "like to open the settings window now?";

HWND MakeMainWindow() {
  static bool registered = false;
  if (!registered) {
    WNDCLASSEXA cls = {};
    cls.cbSize = sizeof cls;
    cls.style = CS_DBLCLKS;
    cls.lpfnWndProc = MainWindowProc;
    cls.hInstance = GetModuleHandleA(nullptr);
    cls.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    cls.lpszClassName = "VelkinAlertDialogsTest";
    registered = RegisterClassExA(&cls) != 0;
  }
  return CreateWindowExA(WS_EX_TOOLWINDOW, "VelkinAlertDialogsTest", "Alert dialogs test",
                         WS_OVERLAPPEDWINDOW, 100, 100, 300, 300, nullptr, nullptr, GetModuleHandleA(nullptr),
                         nullptr);
}

struct AlertDialogs : AppFixture {
  HWND main = nullptr;
  HWND properties = nullptr;
  HWND settings = nullptr;
  std::unique_ptr<TreeViewForest> listsTree, activeTree, doneTree;
  MemorySettingsStore store;

  void SetUp() override {
    AppFixture::SetUp();
    HINSTANCE instance = GetModuleHandleA(nullptr);
    UseSettingsStore(&store);
    main = MakeMainWindow();
    ASSERT_NE(main, nullptr);
    App().instance = instance;
    App().mainWindow = main;
    listsTree = MakeTree(true, &App().listsTree);
    activeTree = MakeTree(false, &App().activeTree);
    doneTree = MakeTree(false, &App().doneTree);
    App().lists = listsTree.get();
    App().active = activeTree.get();
    App().done = doneTree.get();
    App().currentView = App().listsTree;
    properties = CreatePropertiesDialog(instance, main, &store);
    settings = CreateSettingsDialog(instance, main, &store);
    ASSERT_NE(properties, nullptr);
    ASSERT_NE(settings, nullptr);
    App().propertiesDialog = properties;
    App().settingsDialog = settings;
    SetHost(&MainTreeHost());
  }

  std::unique_ptr<TreeViewForest> MakeTree(bool checkBoxes, Handle* window) {
    HWND tree = CreateTaskTree(GetModuleHandleA(nullptr), main, checkBoxes, TreeWindowProc);
    AttachTreeImages(tree);
    RECT client;
    GetClientRect(main, &client);
    SetWindowPos(tree, nullptr, 0, 0, client.right, client.bottom, SWP_NOZORDER);
    *window = tree;
    return std::make_unique<TreeViewForest>(tree, DestroyTaskTree);
  }

  void TearDown() override {
    SetHost(nullptr);
    UseSettingsStore(nullptr);
    DestroyWindow(properties);
    DestroyWindow(settings);
    FreeForestRecords({listsTree.get(), activeTree.get(), doneTree.get()});
    App().lists = &lists;
    App().active = &active;
    App().done = &done;
    listsTree.reset();
    activeTree.reset();
    doneTree.reset();
    DestroyWindow(main);
    HoldPropertiesRecord(nullptr);
    AppFixture::TearDown();
  }

  TaskForest& Lists() { return *listsTree; }
  Node Add(TaskForest& tree, Node parent, const char* name) {
    return InsertTask(tree, parent ? parent : kRootNode, kLastNode, name);
  }
  std::string Text(HWND dialog, int id) {
    char text[256] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
  }
  bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }
  void Click(HWND dialog, int id) { SendDlgItemMessageA(dialog, id, BM_CLICK, 0, 0); }
  DateTime Picker(int id) {
    SYSTEMTIME time = {};
    SendDlgItemMessageA(properties, id, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time));
    return ToDateTime(time);
  }
  // The user presses a key in a picker, which changes its value and tells
  // the dialog (DTN_DATETIMECHANGE) itself.
  void KeyInPicker(int id, WPARAM key) {
    HWND picker = GetDlgItem(properties, id);
    SetFocus(picker);
    SendMessageA(picker, WM_KEYDOWN, key, 0);
    SendMessageA(picker, WM_KEYUP, key, 0);
  }
};

TEST_F(AlertDialogs, PropertiesShowAnUneditedTaskAndStoreWhatTheUserChanged) {
  Node task = Add(Lists(), Add(Lists(), nullptr, "Tasks"), "Buy milk");
  TaskRecord* record = RecordOf(Lists(), task);
  FillProperties(properties, record, true);
  EXPECT_TRUE(IsWindowVisible(properties));
  EXPECT_EQ(Text(properties, kEnteredLabel), "3-7-2008 9:05");
  EXPECT_EQ(Text(properties, kActivatedLabel), "Inactive");
  EXPECT_EQ(Text(properties, kCompletedLabel), "Incomplete");
  EXPECT_TRUE(Checked(properties, kStartupRadio));
  EXPECT_FALSE(Checked(properties, kAtTimeRadio) || Checked(properties, kAutoActivateBox) ||
               Checked(properties, kDueDateBox));
  for (int id : {kDueDatePicker, kAutoDatePicker, kAutoTimePicker})
    EXPECT_EQ(CompareDateTime(Picker(id), kFixtureNow), 0) << id;
  EXPECT_TRUE(prompts.shown().empty());

  // Picking a time turns auto-activation on, at that time.
  // The format starts with a space: Right goes on to the hour.
  KeyInPicker(kAutoTimePicker, VK_RIGHT);
  KeyInPicker(kAutoTimePicker, VK_UP);
  EXPECT_TRUE(Checked(properties, kAutoActivateBox));
  EXPECT_TRUE(Checked(properties, kAtTimeRadio));
  EXPECT_FALSE(Checked(properties, kStartupRadio));
  KeyInPicker(kDueDatePicker, VK_UP);
  EXPECT_TRUE(Checked(properties, kDueDateBox));
  Click(properties, kNotifyBox);
  const DateTime due = Picker(kDueDatePicker);
  const DateTime time = Picker(kAutoTimePicker);
  EXPECT_NE(CompareDateTime(time, kFixtureNow), 0) << "the key changed the time";

  Click(properties, IDOK);
  EXPECT_FALSE(IsWindowVisible(properties));
  EXPECT_EQ(record->autoactivate, 1);
  EXPECT_EQ(record->autotimeset, 1);
  EXPECT_EQ(record->duedateset, 1);
  EXPECT_EQ(record->notify, 1);
  EXPECT_EQ(record->email, 0);
  EXPECT_STREQ(record->autotime, FormatTime(time).c_str());
  EXPECT_STREQ(record->duedate, FormatDate(due).c_str());
  EXPECT_STREQ(record->autodate, "3-7-2008");
}

TEST_F(AlertDialogs, ADoneTaskShowsEverythingDisabledButOk) {
  Node task = Add(*doneTree, nullptr, "Finished");
  FillProperties(properties, RecordOf(*doneTree, task), false);
  for (int id : {kAutoActivateBox, kAutoDatePicker, kStartupRadio, kAtTimeRadio, kAutoTimePicker, kNotifyBox,
                 kAtLabel, kDueDateBox, kDueDatePicker, kEmailBox})
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(properties, id))) << id;
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(properties, IDOK)));
  // A Lists task after it: editable again.
  FillProperties(properties, RecordOf(Lists(), Add(Lists(), nullptr, "Open")), true);
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(properties, kEmailBox)));
}

TEST_F(AlertDialogs, AnActiveCopyWithoutPartnerIsReportedAndTheDialogStaysHidden) {
  Node folder = Add(*activeTree, nullptr, "Today");
  ShowProperties(*activeTree, Add(*activeTree, folder, "Orphan"));
  EXPECT_EQ(prompts.Texts(), std::vector<std::string>{"Error: This item is corrupted."});
  EXPECT_FALSE(IsWindowVisible(properties));
}

TEST_F(AlertDialogs, EmailWithoutAServerAsksOnEveryClickAndYesOpensTheSettings) {
  FillProperties(properties, RecordOf(Lists(), Add(Lists(), nullptr, "Mail me")), true);
  Click(properties, kEmailBox);
  Click(properties, kEmailBox);
  ASSERT_EQ(prompts.shown().size(), 2u);
  EXPECT_EQ(prompts.shown()[0].text, kServerQuestion);
  EXPECT_EQ(prompts.shown()[0].owner, main);
  EXPECT_EQ(prompts.shown()[0].style, static_cast<unsigned>(kBoxYesNo | kBoxIconQuestion));
  EXPECT_FALSE(Checked(properties, kEmailBox)) << "each click keeps its new state";
  EXPECT_FALSE(IsWindowVisible(settings));
  prompts.Answer(kAnswerYes);
  Click(properties, kEmailBox);
  EXPECT_TRUE(IsWindowVisible(settings));
  EXPECT_TRUE(Checked(properties, kEmailBox));

  store.WriteText("Mail Server", "smtp.example.com");
  Click(properties, kEmailBox);
  EXPECT_EQ(prompts.shown().size(), 3u) << "with a server set, nothing is asked";
}

TEST_F(AlertDialogs, OkAfterTheTaskWasDeletedStoresNothingAndHides) {
  Node task = Add(Lists(), nullptr, "Going");
  Node other = Add(Lists(), nullptr, "Staying");
  FillProperties(properties, RecordOf(Lists(), task), true);
  Click(properties, kNotifyBox);
  RemoveSubtree(Lists(), task, true);
  // A new task may well get the released record's memory.
  Node fresh = Add(Lists(), nullptr, "New");
  Click(properties, IDOK);
  EXPECT_FALSE(IsWindowVisible(properties));
  EXPECT_EQ(RecordOf(Lists(), fresh)->notify, 0);
  EXPECT_EQ(RecordOf(Lists(), other)->notify, 0);
  EXPECT_STREQ(RecordOf(Lists(), fresh)->autodate, "");
}

TEST_F(AlertDialogs, ARealDoubleClickOnANestedTaskOpensItsProperties) {
  Node folder = Add(Lists(), nullptr, "Tasks");
  Node task = Add(Lists(), folder, "Call Anna");
  Lists().Expand(folder, ExpandAction::kExpand);
  RecordOf(Lists(), task)->notify = 1;
  ShowWindow(main, SW_SHOW);
  SetForegroundWindow(main);
  UpdateWindow(main);
  HWND tree = Window(App().listsTree);
  RECT label{};
  ASSERT_TRUE(TreeView_GetItemRect(tree, reinterpret_cast<HTREEITEM>(task), &label, TRUE));
  POINT at = {(label.left + label.right) / 2, (label.top + label.bottom) / 2};
  ClientToScreen(tree, &at);
  ASSERT_TRUE(SetCursorPos(at.x, at.y));
  INPUT clicks[4] = {};
  for (int i = 0; i < 4; ++i) {
    clicks[i].type = INPUT_MOUSE;
    clicks[i].mi.dwFlags = i % 2 ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_LEFTDOWN;
  }
  ASSERT_EQ(SendInput(4, clicks, sizeof(INPUT)), 4u);
  for (int i = 0; i < 50 && !IsWindowVisible(properties); ++i) {
    PumpMessages();
    Sleep(20);
  }
  EXPECT_TRUE(IsWindowVisible(properties));
  EXPECT_EQ(HeldPropertiesRecord(), RecordOf(Lists(), task));
  EXPECT_TRUE(Checked(properties, kNotifyBox));
  EXPECT_EQ(TreeView_GetEditControl(tree), nullptr) << "no label edit left open";
}

TEST_F(AlertDialogs, AnActiveDialogTakesPartInTheMessageLoopOnlyWhileActive) {
  FillProperties(properties, RecordOf(Lists(), Add(Lists(), nullptr, "Task")), true);
  SendMessageA(properties, WM_ACTIVATE, WA_ACTIVE, 0);
  EXPECT_EQ(App().activeDialog, properties);
  SendMessageA(settings, WM_ACTIVATE, WA_INACTIVE, 0);
  EXPECT_EQ(App().activeDialog, properties) << "another dialog's deactivation leaves it";
  SendMessageA(properties, WM_ACTIVATE, WA_INACTIVE, 0);
  EXPECT_EQ(App().activeDialog, nullptr);
}

TEST_F(AlertDialogs, TheTraysSettingsShowsTheStoredValuesAndOkStoresTheEdits) {
  WriteMailSettings(store, MailSettings{"smtp.example.com", "587", "anna", "old secret", "anna@example.com"});
  App().vscroll = 1;
  App().hscroll = 0;
  SendMessageA(main, WM_COMMAND, MAKEWPARAM(kTraySettings, 0), 0);
  ASSERT_TRUE(IsWindowVisible(settings));
  EXPECT_EQ(Text(settings, kMailServerEdit), "smtp.example.com");
  EXPECT_EQ(Text(settings, kPortEdit), "587");
  EXPECT_EQ(Text(settings, kUsernameEdit), "anna");
  EXPECT_EQ(Text(settings, kPasswordEdit), "old secret");
  EXPECT_EQ(Text(settings, kSendToEdit), "anna@example.com");
  EXPECT_TRUE(Checked(settings, kHideHorizontalBox));
  EXPECT_FALSE(Checked(settings, kHideVerticalBox));
  EXPECT_TRUE(GetWindowLongA(GetDlgItem(settings, kPasswordEdit), GWL_STYLE) & ES_PASSWORD);
  EXPECT_EQ(Text(settings, kDefaultPortLabel), "Default    25");

  SetDlgItemTextA(settings, kPortEdit, "2525");
  SetDlgItemTextA(settings, kUsernameEdit, "bert");
  SetDlgItemTextA(settings, kPasswordEdit, "new secret");
  Click(settings, kHideVerticalBox);
  Click(settings, IDOK);
  EXPECT_FALSE(IsWindowVisible(settings));
  const MailSettings stored = ReadMailSettings(store);
  EXPECT_EQ(stored.port, "2525");
  EXPECT_EQ(stored.username, "bert");
  EXPECT_EQ(stored.password, "new secret") << "scrambled with the new username";
  EXPECT_EQ(App().vscroll, 0);
  for (Handle tree : {App().listsTree, App().activeTree, App().doneTree})
    EXPECT_FALSE(GetWindowLongA(Window(tree), GWL_STYLE) & WS_VSCROLL) << "hidden at once";
}

TEST_F(AlertDialogs, APortBeyond65535IsSaidAndNothingIsStored) {
  ShowSettings(settings);
  SetDlgItemTextA(settings, kMailServerEdit, "smtp.example.com");
  SetDlgItemTextA(settings, kPortEdit, "70000");
  Click(settings, IDOK);
  EXPECT_EQ(prompts.Texts(), std::vector<std::string>{"The port must be a number from 1 to 65535."});
  EXPECT_TRUE(IsWindowVisible(settings));
  EXPECT_EQ(store.Find(kProductKey, "Mail Server"), nullptr);
}

TEST_F(AlertDialogs, TheMainWindowsTimerRunsTheCheck) {
  Node task = Add(Lists(), Add(Lists(), nullptr, "Tasks"), "Due");
  TaskRecord* record = RecordOf(Lists(), task);
  record->autoactivate = 1;
  record->email = 1;  // no server is set: the alert's thread sends nothing
  CopyField(record->autodate, "3-7-2008");
  SendMessageA(main, WM_TIMER, kActivationTimerId, 0);
  EXPECT_EQ(CheckStateOf(Lists(), task), kChecked);
  EXPECT_EQ(record->autoactivate, 0);
  EXPECT_TRUE(WaitForMailAlerts(10000));
}

}  // namespace
