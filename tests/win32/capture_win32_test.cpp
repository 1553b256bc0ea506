// Capture and find on the real controls, driven by real input: the
// quick-add hot key while the window is hidden, the Find Task box, text
// on the real clipboard pasted back as tasks, and the Settings dialog's
// hot key.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "alerts/win32/settingsdialog.h"
#include "app/win32/addtaskbox.h"
#include "app/win32/findbox.h"
#include "app/win32/tabs.h"
#include "app/win32/treehost.h"
#include "base/clipboard.h"
#include "base/hotkey.h"
#include "base/win32/hotkey_win32.h"
#include "main_window_fixture.h"
#include "tree/commands.h"
#include "tree/tasktree.h"
#include "tree_window.h"

namespace {

struct Capture : MainWindow {
  HWND addBox = nullptr;
  HWND findBox = nullptr;
  TaskForest& Lists() { return *listsTree; }
  TaskForest& Done() { return *doneTree; }

  void SetUp() override {
    MainWindow::SetUp();
    App().clipboard = HostClipboard();
    SetHost(&MainTreeHost());
    addBox = CreateAddTaskBox(static_cast<HINSTANCE>(App().instance), main);
    findBox = CreateFindBox(static_cast<HINSTANCE>(App().instance), main);
    ASSERT_NE(addBox, nullptr);
    ASSERT_NE(findBox, nullptr);
  }
  void TearDown() override {
    RegisterQuickAddHotKey(main, HotKey{0, 0});
    DestroyWindow(addBox);
    DestroyWindow(findBox);
    ResetCommands();
    SetHost(nullptr);
    MainWindow::TearDown();
  }

  // Key strokes as the keyboard sends them: each key of `keys` down in
  // turn, then up in the reverse order.
  static void Chord(std::initializer_list<WORD> keys) {
    std::vector<INPUT> inputs;
    for (WORD key : keys) inputs.push_back(KeyInput(key, 0));
    for (auto at = keys.end(); at != keys.begin();) inputs.push_back(KeyInput(*--at, KEYEVENTF_KEYUP));
    ASSERT_EQ(SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)), inputs.size());
  }
  static void Type(const char* text) {
    for (const char* c = text; *c; ++c) {
      const SHORT scan = VkKeyScanA(*c);
      if (scan & 0x100)
        Chord({VK_SHIFT, static_cast<WORD>(scan & 0xFF)});
      else
        Chord({static_cast<WORD>(scan & 0xFF)});
    }
  }
  static INPUT KeyInput(WORD key, DWORD flags) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(key, 0));
    input.ki.dwFlags = flags;
    return input;
  }
  // Handles messages, the active box's through the dialog manager as the
  // program's loop does, until `done` or two seconds.
  template <typename Done>
  static bool PumpUntil(Done&& done) {
    for (int i = 0; i < 100; ++i) {
      MSG msg;
      while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        HWND dialog = static_cast<HWND>(App().activeDialog);
        if (dialog && IsDialogMessageA(dialog, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
      }
      if (done()) return true;
      Sleep(20);
    }
    return false;
  }
  std::string Text(TaskForest& tree, Node start = nullptr) {
    std::vector<char> buffer(TreeTextLength(tree, start, 0) + 1);
    return std::string(buffer.data(), WriteTreeText(tree, start, 0, buffer.data()));
  }
};

TEST_F(Capture, TheHotKeyOpensAddTaskAndEnterAddsUnderTheInboxWithTheWindowHidden) {
  Node work = InsertTask(Lists(), kRootNode, kLastNode, "Work");
  ShowWindow(main, SW_HIDE);
  ASSERT_TRUE(RegisterQuickAddHotKey(main, kDefaultHotKey));
  Chord({VK_LWIN, VK_MENU, 'N'});
  ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(addBox) != FALSE; })) << "Win+Alt+N opened no box";
  char title[32] = "";
  GetWindowTextA(addBox, title, sizeof title);
  EXPECT_STREQ(title, "Add Task");
  EXPECT_FALSE(IsWindowVisible(main));
  ASSERT_TRUE(PumpUntil([&] { return GetFocus() == GetDlgItem(addBox, kAddTaskEdit); }));
  Type("Call Anna");
  Chord({VK_RETURN});
  ASSERT_TRUE(PumpUntil([&] { return !IsWindowVisible(addBox); })) << "Enter left the box open";
  EXPECT_FALSE(IsWindowVisible(main));
  EXPECT_EQ(Text(Lists()), "Work\r\nInbox\r\n\tCall Anna\r\n");
  Node inbox = NextSibling(Lists(), work);
  EXPECT_NE(Lists().GetState(inbox, kStateBold) & kStateBold, 0u);
  // Escape closes the box and adds nothing.
  ShowAddTaskBox();
  ASSERT_TRUE(PumpUntil([&] { return GetFocus() == GetDlgItem(addBox, kAddTaskEdit); }));
  Type("Not this");
  Chord({VK_ESCAPE});
  ASSERT_TRUE(PumpUntil([&] { return !IsWindowVisible(addBox); }));
  EXPECT_EQ(Text(Lists()), "Work\r\nInbox\r\n\tCall Anna\r\n");
}

TEST_F(Capture, CtrlELettersAndEnterSelectTheOneMatchInItsTab) {
  Node lists = InsertTask(Lists(), kRootNode, kLastNode, "Work");
  InsertTask(Lists(), lists, kLastNode, "Prepare the workshop");
  Node completed = InsertTask(Done(), kRootNode, kLastNode, "Completed");
  Node old = InsertTask(Done(), completed, kLastNode, "Old");
  Node slides = InsertTask(Done(), old, kLastNode, "Slides for Monday");
  ShowWindow(main, SW_SHOW);
  SelectTab(kTabLists);
  SetForegroundWindow(main);
  SetFocus(View(kTabLists));
  Chord({VK_CONTROL, 'E'});
  ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(findBox) != FALSE; })) << "Ctrl+E opened no box";
  ASSERT_TRUE(PumpUntil([&] { return GetFocus() == GetDlgItem(findBox, kFindEdit); }));
  Type("SLID");
  HWND list = GetDlgItem(findBox, kFindList);
  ASSERT_TRUE(PumpUntil([&] { return SendMessageA(list, LB_GETCOUNT, 0, 0) == 1; }));
  char label[128] = "";
  SendMessageA(list, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(label));
  EXPECT_STREQ(label, "Done: Completed > Old > Slides for Monday");
  Chord({VK_RETURN});
  ASSERT_TRUE(PumpUntil([&] { return !IsWindowVisible(findBox); }));
  EXPECT_EQ(TabSelection(), kTabDone);
  EXPECT_EQ(SelectedNode(Done()), slides);
  EXPECT_TRUE(IsExpanded(Done(), completed));
  EXPECT_TRUE(IsExpanded(Done(), old));
  // F3 opens it again with the last search; Escape closes it.
  SetFocus(View(kTabDone));
  Chord({VK_F3});
  ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(findBox) != FALSE; }));
  EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 1);
  Chord({VK_ESCAPE});
  ASSERT_TRUE(PumpUntil([&] { return !IsWindowVisible(findBox); }));
}

TEST_F(Capture, TabIndentedTextOnTheClipboardPastesBackAsTheSameTree) {
  Node target = InsertTask(Lists(), kRootNode, kLastNode, "Target");
  const std::string text = "Work\r\n\tPrepare the workshop\r\n\t\tSlides\r\n\tMail\r\nHome\r\n";
  ASSERT_EQ(App().clipboard->SetText(main, text.data(), text.size()), 1);
  ShowWindow(main, SW_SHOW);
  SetForegroundWindow(main);
  Lists().Select(target, Relation::kCaret);
  SetFocus(View(kTabLists));
  Chord({VK_CONTROL, 'V'});
  ASSERT_TRUE(PumpUntil([&] { return FirstChild(Lists(), target) != nullptr; })) << "Ctrl+V pasted nothing";
  EXPECT_EQ(Text(Lists()),
            "Target\r\n\tWork\r\n\t\tPrepare the workshop\r\n\t\t\tSlides\r\n\t\tMail\r\n\tHome\r\n");
  EXPECT_EQ(App().tasks.count, Lists().Count());
}

TEST_F(Capture, SettingsSaysWhenAnotherProgramHoldsTheHotKey) {
  HWND other = MakeMainWindow();
  ASSERT_TRUE(RegisterHotKey(other, 7, MOD_WIN | MOD_ALT, 'N'));
  ASSERT_FALSE(RegisterQuickAddHotKey(main, kDefaultHotKey));
  HWND settings = CreateSettingsDialog(static_cast<HINSTANCE>(App().instance), main, &store);
  ASSERT_NE(settings, nullptr);
  ShowSettings(settings);
  char status[128] = "";
  GetDlgItemTextA(settings, kHotKeyStatus, status, sizeof status);
  EXPECT_STREQ(status, "This hot key is held by another program.");
  EXPECT_EQ(SendDlgItemMessageA(settings, kHotKeyControl, HKM_GETHOTKEY, 0, 0), MAKEWORD('N', HOTKEYF_ALT));
  EXPECT_EQ(IsDlgButtonChecked(settings, kHotKeyWinBox), BST_CHECKED);
  // OK keeps the dialog and stores nothing while the key is held.
  StoreSettings(settings);
  EXPECT_TRUE(IsWindowVisible(settings));
  ASSERT_FALSE(prompts.shown().empty());
  EXPECT_NE(prompts.shown().back().text.find("Win+Alt+N is held by another program"), std::string::npos);
  EXPECT_EQ(store.Find(store.productKey(), "hotkey"), nullptr);
  // Another key is taken and stored; the control's own value gives it.
  SendDlgItemMessageA(settings, kHotKeyControl, HKM_SETHOTKEY, MAKEWORD('T', HOTKEYF_CONTROL | HOTKEYF_SHIFT),
                      0);
  CheckDlgButton(settings, kHotKeyWinBox, BST_UNCHECKED);
  StoreSettings(settings);
  EXPECT_FALSE(IsWindowVisible(settings));
  EXPECT_EQ(HotKeyText(ReadHotKey(store)), "Ctrl+Shift+T");
  EXPECT_FALSE(QuickAddHotKeyRefused());
  DestroyWindow(settings);
  UnregisterHotKey(other, 7);
  DestroyWindow(other);
}

}  // namespace
