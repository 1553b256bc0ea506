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
#include "fakes/memorysettings.h"
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
  static const bool registered = [] {
    WNDCLASSEXA cls = {};
    cls.cbSize = sizeof cls;
    cls.style = CS_DBLCLKS;
    cls.lpfnWndProc = MainWindowProc;
    cls.hInstance = GetModuleHandleA(nullptr);
    cls.lpszClassName = "VelkinAlertDialogsTest";
    return RegisterClassExA(&cls) != 0;
  }();
  return registered ? CreateWindowExA(0, "VelkinAlertDialogsTest", "", WS_OVERLAPPEDWINDOW, 100, 100, 300,
                                      300, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr)
                    : nullptr;
}

// The main window with real trees and both dialogs, wired as start-up
// wires them, with the settings in memory.
struct AlertDialogs : AppFixture {
  HWND main = MakeMainWindow();
  std::unique_ptr<TreeViewForest> trees[3];
  MemorySettingsStore store;
  HWND properties = nullptr;
  HWND settings = nullptr;

  void SetUp() override {
    AppFixture::SetUp();
    ASSERT_NE(main, nullptr);
    AppState& app = App();
    HINSTANCE instance = GetModuleHandleA(nullptr);
    app.instance = instance;
    app.mainWindow = main;
    Handle* windows[] = {&app.listsTree, &app.activeTree, &app.doneTree};
    TaskForest** forests[] = {&app.lists, &app.active, &app.done};
    for (int i = 0; i < 3; ++i) {
      HWND tree = CreateTaskTree(instance, main, i == 0, TreeWindowProc);
      AttachTreeImages(tree);
      SetWindowPos(tree, nullptr, 0, 0, 280, 250, SWP_NOZORDER);
      trees[i] = std::make_unique<TreeViewForest>(tree, DestroyTaskTree);
      *windows[i] = tree;
      *forests[i] = trees[i].get();
    }
    app.currentView = app.listsTree;
    UseSettingsStore(&store);
    app.propertiesDialog = properties = CreatePropertiesDialog(instance, main, &store);
    app.settingsDialog = settings = CreateSettingsDialog(instance, main, &store);
    ASSERT_TRUE(properties && settings);
    SetHost(&MainTreeHost());
  }
  void TearDown() override {
    SetHost(nullptr);
    UseSettingsStore(nullptr);
    HoldPropertiesRecord(nullptr);
    FreeForestRecords({trees[0].get(), trees[1].get(), trees[2].get()});
    App().lists = &lists;
    App().active = &active;
    App().done = &done;
    DestroyWindow(main);  // with the dialogs it owns and the trees
    AppFixture::TearDown();
  }

  TaskForest& Lists() { return *trees[0]; }
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
  // A key pressed in a picker: the control changes its value and tells the
  // dialog (DTN_DATETIMECHANGE) itself.
  void KeyInPicker(int id, WPARAM key) {
    SetFocus(GetDlgItem(properties, id));
    SendDlgItemMessageA(properties, id, WM_KEYDOWN, key, 0);
    SendDlgItemMessageA(properties, id, WM_KEYUP, key, 0);
  }
};

TEST_F(AlertDialogs, PropertiesShowAnUneditedTaskAndStoreWhatTheUserChanged) {
  Node task = Add(Lists(), Add(Lists(), nullptr, "Tasks"), "Buy milk");
  TaskRecord* record = RecordOf(Lists(), task);
  FillProperties(properties, record, true);
  EXPECT_TRUE(IsWindowVisible(properties));
  EXPECT_EQ(Text(properties, kEnteredLabel) + "|" + Text(properties, kActivatedLabel) + "|" +
                Text(properties, kCompletedLabel),
            "3-7-2008 9:05|Inactive|Incomplete");
  EXPECT_TRUE(Checked(properties, kStartupRadio));
  EXPECT_FALSE(Checked(properties, kAtTimeRadio) || Checked(properties, kAutoActivateBox) ||
               Checked(properties, kDueDateBox));
  for (int id : {kDueDatePicker, kAutoDatePicker, kAutoTimePicker})
    EXPECT_EQ(CompareDateTime(Picker(id), kFixtureNow), 0) << id;
  EXPECT_TRUE(prompts.shown().empty());

  // Picking a time, once auto-activation is on, makes it at that time.
  // The format starts with a space: Right goes on to the hour.
  Click(properties, kAutoActivateBox);
  KeyInPicker(kAutoTimePicker, VK_RIGHT);
  KeyInPicker(kAutoTimePicker, VK_UP);
  EXPECT_TRUE(Checked(properties, kAutoActivateBox));
  EXPECT_TRUE(Checked(properties, kAtTimeRadio));
  EXPECT_FALSE(Checked(properties, kStartupRadio));
  Click(properties, kDueDateBox);
  KeyInPicker(kDueDatePicker, VK_UP);
  EXPECT_TRUE(Checked(properties, kDueDateBox));
  Click(properties, kNotifyBox);
  const DateTime due = Picker(kDueDatePicker);
  const DateTime time = Picker(kAutoTimePicker);
  EXPECT_NE(CompareDateTime(time, kFixtureNow), 0) << "the key changed the time";

  Click(properties, IDOK);
  EXPECT_FALSE(IsWindowVisible(properties));
  EXPECT_EQ(std::to_string(record->autoactivate) + std::to_string(record->autotimeset) +
                std::to_string(record->duedateset) + std::to_string(record->notify) +
                std::to_string(record->email),
            "11110");
  EXPECT_EQ(std::string(record->autotime) + "|" + record->duedate + "|" + record->autodate,
            FormatTime(time) + "|" + FormatDate(due) + "|3-7-2008");
}

TEST_F(AlertDialogs, APickerCanBeUsedOnlyWhileItsBoxIsChecked) {
  FillProperties(properties, RecordOf(Lists(), Add(Lists(), nullptr, "Plan")), true);
  const struct {
    int click;  // 0: as filled
    bool due, autoDate, autoTime;
  } steps[] = {
      {0, false, false, false},
      {kDueDateBox, true, false, false},
      {kAutoActivateBox, true, true, true},
      {kDueDateBox, false, true, true},
      {kAutoActivateBox, false, false, false},
  };
  for (const auto& step : steps) {
    if (step.click) Click(properties, step.click);
    EXPECT_EQ(IsWindowEnabled(GetDlgItem(properties, kDueDatePicker)) != FALSE, step.due) << step.click;
    EXPECT_EQ(IsWindowEnabled(GetDlgItem(properties, kAutoDatePicker)) != FALSE, step.autoDate) << step.click;
    EXPECT_EQ(IsWindowEnabled(GetDlgItem(properties, kAutoTimePicker)) != FALSE, step.autoTime) << step.click;
  }
}

TEST_F(AlertDialogs, ADoneTaskShowsEverythingDisabledButOk) {
  FillProperties(properties, RecordOf(*trees[2], Add(*trees[2], nullptr, "Finished")), false);
  const int ids[] = {kAutoActivateBox, kAutoDatePicker, kStartupRadio, kAtTimeRadio,
                     kAutoTimePicker,  kNotifyBox,      kAtLabel,      kDueDateBox,
                     kDueDatePicker,   kEmailBox,       IDOK};
  for (int id : ids) EXPECT_EQ(IsWindowEnabled(GetDlgItem(properties, id)) != FALSE, id == IDOK) << id;
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
  EXPECT_EQ(HeldPropertiesRecord(), nullptr) << "the dialog let go of the record";
  Click(properties, IDOK);
  EXPECT_FALSE(IsWindowVisible(properties));
  EXPECT_EQ(RecordOf(Lists(), other)->notify, 0);
}

// Filling shows a box when a picker refuses the record's date; the task
// may be deleted, or another task's Properties opened, while it is up.
TEST_F(AlertDialogs, ATaskDeletedWhileFillingShowsABoxIsNotHeld) {
  const struct {
    bool openAnother;  // else the task is deleted
  } cases[] = {{false}, {true}};
  for (const auto& c : cases) {
    Node task = Add(Lists(), nullptr, "Odd date");
    Node other = Add(Lists(), nullptr, "Other");
    CopyField(RecordOf(Lists(), task)->duedate, "13-7-2008");
    prompts.WhileShown([&] {
      prompts.WhileShown(nullptr);
      if (c.openAnother)
        FillProperties(properties, RecordOf(Lists(), other), true);
      else
        RemoveSubtree(Lists(), task, true);
    });
    FillProperties(properties, RecordOf(Lists(), task), true);
    EXPECT_EQ(prompts.Texts(), std::vector<std::string>{"Date set failed!"});
    EXPECT_EQ(HeldPropertiesRecord(), c.openAnother ? RecordOf(Lists(), other) : nullptr);
    EXPECT_EQ(IsWindowVisible(properties) != FALSE, c.openAnother);
    Click(properties, kEmailBox);
    prompts.Clear();
    Click(properties, IDOK);
    if (c.openAnother) {
      EXPECT_EQ(RecordOf(Lists(), other)->email, 1) << "OK stores into the task shown";
      EXPECT_EQ(RecordOf(Lists(), task)->email, 0);
      RemoveSubtree(Lists(), task, true);
    }
    RemoveSubtree(Lists(), other, true);
  }
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

TEST_F(AlertDialogs, TheTraysSettingsShowsTheStoredValuesAndOkStoresTheEdits) {
  WriteMailSettings(store, MailSettings{"smtp.example.com", "587", "anna", "old secret", "anna@example.com"});
  App().vscroll = 1;
  App().hscroll = 0;
  for (int i = 0; i < 40; ++i) Add(Lists(), nullptr, "Enough to scroll");
  HWND listsTree = Window(App().listsTree);
  ASSERT_TRUE(GetWindowLongA(listsTree, GWL_STYLE) & WS_VSCROLL);
  SendMessageA(main, WM_COMMAND, MAKEWPARAM(kTraySettings, 0), 0);
  ASSERT_TRUE(IsWindowVisible(settings));
  std::string shown;
  for (int id : {kMailServerEdit, kPortEdit, kUsernameEdit, kPasswordEdit, kSendToEdit})
    shown += Text(settings, id) + "|";
  EXPECT_EQ(shown, "smtp.example.com|587|anna|old secret|anna@example.com|");
  EXPECT_TRUE(Checked(settings, kHideHorizontalBox));
  EXPECT_FALSE(Checked(settings, kHideVerticalBox));
  EXPECT_TRUE(GetWindowLongA(GetDlgItem(settings, kPasswordEdit), GWL_STYLE) & ES_PASSWORD);

  // A port no server can have is said, and nothing is stored.
  SetDlgItemTextA(settings, kPortEdit, "70000");
  Click(settings, IDOK);
  EXPECT_EQ(prompts.Texts(), std::vector<std::string>{"The port must be a number from 1 to 65535."});
  EXPECT_TRUE(IsWindowVisible(settings));
  EXPECT_EQ(ReadMailSettings(store).port, "587");

  SetDlgItemTextA(settings, kPortEdit, "2525");
  SetDlgItemTextA(settings, kUsernameEdit, "bert");
  SetDlgItemTextA(settings, kPasswordEdit, "new secret");
  Click(settings, kHideVerticalBox);
  Click(settings, kAnyCertificateBox);
  Click(settings, IDOK);
  EXPECT_FALSE(IsWindowVisible(settings));
  const MailSettings stored = ReadMailSettings(store);
  EXPECT_EQ(stored.port + "|" + stored.username + "|" + stored.password, "2525|bert|new secret")
      << "the password scrambled with the new username";
  EXPECT_TRUE(stored.anyCertificate);
  EXPECT_EQ(App().vscroll, 0);
  EXPECT_FALSE(GetWindowLongA(listsTree, GWL_STYLE) & WS_VSCROLL) << "hidden at once";
}

// The minute's tick, a resume from sleep and a change of the clock run the
// check at once; other power events do not.
TEST_F(AlertDialogs, TheMainWindowRunsTheCheckOnItsTickAResumeAndAClockChange) {
  const struct {
    UINT message;
    WPARAM wParam;
    bool runs;
  } cases[] = {{WM_TIMER, kActivationTimerId, true},
               {WM_POWERBROADCAST, PBT_APMSUSPEND, false},
               {WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, true},
               {WM_TIMECHANGE, 0, true}};
  Node folder = Add(Lists(), nullptr, "Tasks");
  uint16_t minute = 6;
  for (const auto& c : cases) {
    Node task = Add(Lists(), folder, "Due");
    TaskRecord* record = RecordOf(Lists(), task);
    PropertiesForm form = PropertiesFormOf(*record, kFixtureNow);
    form.autoActivate = true;
    StorePropertiesForm(form, *record);
    // Another minute for each, so that the tick's minute is new.
    clock.Set(DateTime{2008, 3, 5, 7, 9, minute++, 0, 0});
    SendMessageA(main, c.message, c.wParam, 0);
    EXPECT_EQ(CheckStateOf(Lists(), task) == kChecked, c.runs) << c.message << " " << c.wParam;
    EXPECT_EQ(record->autoactivate == 0, c.runs);
    if (!c.runs) SendMessageA(main, WM_TIMECHANGE, 0, 0);
    EXPECT_EQ(record->autoactivate, 0) << "every overdue task activates";
  }
}

// An e-mail alert that cannot go reports why to the main window.
TEST_F(AlertDialogs, TheOutcomeOfAnAlertReachesTheMainWindow) {
  Node task = Add(Lists(), Add(Lists(), nullptr, "Tasks"), "Due");
  TaskRecord* record = RecordOf(Lists(), task);
  record->autoactivate = 1;
  record->email = 1;  // no server is set: the alert's thread sends nothing
  CopyField(record->autodate, "3-7-2008");
  SendMessageA(main, WM_TIMER, kActivationTimerId, 0);
  EXPECT_EQ(CheckStateOf(Lists(), task), kChecked);
  EXPECT_EQ(record->autoactivate, 0);
  EXPECT_TRUE(WaitForMailAlerts(10000));
  // The thread's outcome reaches the main window as a posted message.
  PumpMessages();
  EXPECT_NE(LastAlertText().find(": not sent: the mail server, its port or the Send To address is not set."),
            std::string::npos)
      << LastAlertText();
}

TEST_F(AlertDialogs, TheTestEmailGoesWithTheValuesShownAndItsOutcomeComesAsABox) {
  SendMessageA(main, WM_COMMAND, MAKEWPARAM(kTraySettings, 0), 0);
  SetDlgItemTextA(settings, kMailServerEdit, "127.0.0.1");
  SetDlgItemTextA(settings, kPortEdit, "1");  // nothing listens there
  SetDlgItemTextA(settings, kSendToEdit, "anna@example.com");
  HWND button = GetDlgItem(settings, kSendTestButton);
  Click(settings, kSendTestButton);
  EXPECT_FALSE(IsWindowEnabled(button)) << "one test at a time";
  EXPECT_TRUE(WaitForMailAlerts(30000));
  PumpMessages();
  ASSERT_EQ(prompts.Texts(), std::vector<std::string>{
                                 "Test e-mail not sent: no connection: 127.0.0.1 refused it or cannot be reached."});
  EXPECT_EQ(prompts.shown()[0].title, "Velkin 1.0");
  EXPECT_TRUE(IsWindowEnabled(button));
  EXPECT_EQ(ReadMailSettings(store).server, "") << "the dialog's values are not stored by a test";
}

}  // namespace
