// Dragging tasks in real trees with real input: SendInput presses, moves
// and releases the mouse over a shown main window, whose procedure is the
// program's, so the control's own drag detection, the capture, the timers
// and the drop all run as they do for a user.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/win32/mainwindow.h"
#include "app/win32/treehost.h"
#include "base/appstate.h"
#include "base/win32/treeview_forest.h"
#include "tests/native/data_helpers.h"
#include "tests/native/fixture.h"
#include "tests/win32/main_window_fixture.h"
#include "tests/win32/tree_window.h"
#include "tree/commands.h"
#include "tree/tasktree.h"
#include "tree/win32/tasktree_win32.h"
#include "tree/win32/treedrag.h"
#include "tree/win32/treewindow.h"

namespace {

// Waits for `ms`, handling every message meanwhile (timers included).
void PumpFor(DWORD ms) {
  const DWORD start = GetTickCount();
  do {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    PumpMessages();
  } while (GetTickCount() - start < ms);
}

// One mouse event at a screen point, in the absolute units of SendInput.
INPUT MouseAt(POINT screen, DWORD button) {
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  INPUT input = {};
  input.type = INPUT_MOUSE;
  // The smallest unit that lands on the pixel, however it is scaled back.
  input.mi.dx = (screen.x * 65536 + width - 1) / width;
  input.mi.dy = (screen.y * 65536 + height - 1) / height;
  input.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | button;
  return input;
}

void Send(std::vector<INPUT> inputs) {
  ASSERT_EQ(SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)), inputs.size());
}

// Waits until the pointer has arrived, with its messages handled.
void SettleAt(POINT screen) {
  for (int i = 0; i < 100; ++i) {
    PumpFor(10);
    POINT now{};
    GetCursorPos(&now);
    if (now.x == screen.x && now.y == screen.y) break;
  }
  PumpFor(20);
}

void PressKey(WORD key) {
  INPUT inputs[2] = {};
  inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
  inputs[0].ki.wVk = inputs[1].ki.wVk = key;
  inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
  ASSERT_EQ(SendInput(2, inputs, sizeof(INPUT)), 2u);
  PumpFor(50);
}

enum class Part { kMiddle, kUpperQuarter, kLowerQuarter };

struct TreeDrag : AppFixture {
  HWND main = nullptr;
  std::unique_ptr<TreeViewForest> listsTree, activeTree;
  DWORD lastPress = 0;

  void SetUp() override {
    AppFixture::SetUp();
    main = MakeMainWindow(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, WS_POPUP | WS_VISIBLE, RECT{100, 100, 400, 360});
    ASSERT_NE(main, nullptr);
    App().instance = GetModuleHandleA(nullptr);
    App().mainWindow = main;
    listsTree = MakeTree(true);
    activeTree = MakeTree(false);
    App().lists = listsTree.get();
    App().active = activeTree.get();
    App().listsTree = App().currentView = listsTree->Window();
    App().activeTree = activeTree->Window();
    SetHost(&MainTreeHost());
    SetForegroundWindow(main);
    SetFocus(Tree());
    PumpFor(50);
  }
  std::unique_ptr<TreeViewForest> MakeTree(bool checkBoxes) {
    HWND tree = CreateTaskTree(GetModuleHandleA(nullptr), main, checkBoxes, TreeWindowProc);
    AttachTreeImages(tree);
    SetWindowPos(tree, nullptr, 0, 30, 300, 200, SWP_NOZORDER);
    return std::make_unique<TreeViewForest>(tree, DestroyTaskTree);
  }
  void TearDown() override {
    CancelTreeDrag();
    Send({MouseAt({5, 5}, MOUSEEVENTF_LEFTUP)});
    PumpFor(20);
    SetHost(nullptr);
    ClearCut();
    FreeForestRecords({listsTree.get(), activeTree.get()});
    listsTree.reset();
    activeTree.reset();
    DestroyWindow(main);
    AppFixture::TearDown();
  }

  HWND Tree() { return static_cast<HWND>(App().listsTree); }
  TaskForest& Lists() { return *listsTree; }
  Node Add(Node parent, const char* name) {
    return InsertTask(Lists(), parent ? parent : kRootNode, kLastNode, name);
  }
  std::string Shape() { return ::Shape(Lists()); }
  Node Find(const std::string& name) { return NamedNode(Lists(), name); }

  // A screen point on the node's label, at a height within its row.
  POINT On(Node node, Part part) {
    RECT text{};
    HTREEITEM item = reinterpret_cast<HTREEITEM>(node);
    EXPECT_TRUE(TreeView_GetItemRect(Tree(), item, &text, TRUE));
    const int height = text.bottom - text.top;
    int y = text.top + height / 2;
    if (part == Part::kUpperQuarter) y = text.top + height / 8;
    if (part == Part::kLowerQuarter) y = text.bottom - 1 - height / 8;
    POINT point = {text.left + 4, y};
    ClientToScreen(Tree(), &point);
    return point;
  }
  POINT BelowTheLastRow() {
    RECT client{};
    GetClientRect(Tree(), &client);
    POINT point = {20, client.bottom - 25};
    ClientToScreen(Tree(), &point);
    return point;
  }

  // Presses on the node, moves past the drag threshold, then on to `to`.
  // Presses come far enough apart never to make a double click.
  void StartDrag(Node node, POINT to) {
    while (GetTickCount() - lastPress <= GetDoubleClickTime()) PumpFor(20);
    const POINT from = On(node, Part::kMiddle);
    Send({MouseAt(from, 0)});
    SettleAt(from);
    // The control waits for the move in a loop of its own: both go at once.
    const POINT past = {from.x + 3 * GetSystemMetrics(SM_CXDRAG) + 6, from.y};
    Send({MouseAt(from, MOUSEEVENTF_LEFTDOWN), MouseAt(past, 0)});
    lastPress = GetTickCount();
    SettleAt(past);
    Send({MouseAt(to, 0)});
    SettleAt(to);
  }
  void Release(POINT at) {
    Send({MouseAt(at, MOUSEEVENTF_LEFTUP)});
    SettleAt(at);
    PumpFor(30);
  }
  void Drag(Node node, POINT to) {
    StartDrag(node, to);
    ASSERT_TRUE(TreeDragInProgress());
    Release(to);
    EXPECT_FALSE(TreeDragInProgress());
  }
  Node Mark() { return Lists().GetNext(nullptr, Relation::kDropHilite); }
  bool DragImageShown() {
    POINT at{}, hotSpot{};
    return ImageList_GetDragImage(&at, &hotSpot) != nullptr;
  }
};

TEST_F(TreeDrag, DropsIntoOnOrAfterRowsByWhereThePointerIsWithinThem) {
  Node a = Add(nullptr, "A");
  Add(a, "A1");
  Add(a, "A2");
  Node b = Add(nullptr, "B");
  Add(b, "B1");
  Node c = Add(nullptr, "C");
  Lists().Expand(a, ExpandAction::kExpand);
  ASSERT_EQ(ActivateTask(Lists(), c), 1);
  Node copy = RecordOf(Lists(), c)->link;

  // The middle half of a row: into it, as its first child. The row is
  // marked while the pointer is there; the image follows the pointer.
  StartDrag(c, On(a, Part::kMiddle));
  ASSERT_TRUE(TreeDragInProgress());
  EXPECT_EQ(GetCapture(), main);
  EXPECT_TRUE(DragImageShown());
  EXPECT_EQ(Mark(), a);
  EXPECT_EQ(SelectedNode(Lists()), c);
  Release(On(a, Part::kMiddle));
  EXPECT_EQ(Shape(), "A(C,A1,A2),B(B1)");
  EXPECT_FALSE(DragImageShown());
  EXPECT_NE(GetCapture(), main);
  EXPECT_EQ(Mark(), nullptr);
  Node moved = Find("C");
  EXPECT_EQ(SelectedNode(Lists()), moved);
  // The linked copy in Active follows the move.
  EXPECT_EQ(RecordOf(Lists(), moved)->link, copy);
  EXPECT_EQ(RecordOf(*activeTree, copy)->link, moved);
  EXPECT_EQ(CheckStateOf(Lists(), moved), kChecked);

  // The upper quarter: before the node, without a mark.
  StartDrag(moved, On(Find("A2"), Part::kUpperQuarter));
  EXPECT_EQ(Mark(), nullptr);
  Release(On(Find("A2"), Part::kUpperQuarter));
  EXPECT_EQ(Shape(), "A(A1,C,A2),B(B1)");

  // The lower quarter of a collapsed node: right after it.
  Drag(Find("A1"), On(b, Part::kLowerQuarter));
  EXPECT_EQ(Shape(), "A(C,A2),B(B1),A1");

  // The lower quarter of an expanded node with children: its first child,
  // and marked so.
  StartDrag(Find("A1"), On(a, Part::kLowerQuarter));
  EXPECT_EQ(Mark(), a);
  Release(On(a, Part::kLowerQuarter));
  EXPECT_EQ(Shape(), "A(A1,C,A2),B(B1)");

  // Below the last row: after the last visible node, under its parent.
  Drag(Find("C"), BelowTheLastRow());
  EXPECT_EQ(Shape(), "A(A1,A2),B(B1),C");

  // Onto one of its own descendants: nothing moves, nothing was marked.
  StartDrag(a, On(Find("A2"), Part::kMiddle));
  EXPECT_EQ(Mark(), nullptr);
  Release(On(Find("A2"), Part::kMiddle));
  EXPECT_EQ(Shape(), "A(A1,A2),B(B1),C");
  EXPECT_EQ(SelectedNode(Lists()), a);
  EXPECT_TRUE(prompts.shown().empty());
}

TEST_F(TreeDrag, HoldingThePointerAtTheBottomEdgeScrollsAtOnceAndKeepsScrolling) {
  std::vector<Node> nodes;
  for (int i = 0; i < 60; ++i) nodes.push_back(Add(nullptr, ("Node " + std::to_string(i)).c_str()));
  auto topRow = [&] {
    Node first = Lists().GetNext(nullptr, Relation::kFirstVisible);
    for (size_t i = 0; i < nodes.size(); ++i)
      if (nodes[i] == first) return static_cast<int>(i);
    return -1;
  };
  RECT view{};
  GetWindowRect(Tree(), &view);
  const POINT nearBottom = {view.left + 40, view.bottom - 6};
  StartDrag(nodes[0], nearBottom);
  ASSERT_TRUE(TreeDragInProgress());
  const int atOnce = topRow();
  EXPECT_GE(atOnce, 1) << "one line as soon as the pointer enters the band";
  PumpFor(650);
  const int held = topRow();
  EXPECT_GE(held, atOnce + 3) << "a line every 100 ms while it stays";

  // Back in the middle the scrolling stops.
  const POINT middle = {view.left + 40, (view.top + view.bottom) / 2};
  Send({MouseAt(middle, 0)});
  SettleAt(middle);
  const int stopped = topRow();
  PumpFor(350);
  EXPECT_EQ(topRow(), stopped);
  PressKey(VK_ESCAPE);
  EXPECT_FALSE(TreeDragInProgress());
  EXPECT_EQ(FirstChild(Lists(), kRootNode), nodes[0]);
}

TEST_F(TreeDrag, EscapeOrALostCaptureEndsTheDragWithNothingMoved) {
  Node a = Add(nullptr, "A");
  Node b = Add(nullptr, "B");
  Add(nullptr, "C");

  StartDrag(a, On(b, Part::kMiddle));
  ASSERT_TRUE(TreeDragInProgress());
  EXPECT_EQ(Mark(), b);
  PressKey(VK_RETURN);  // no new task under the drag
  EXPECT_EQ(Shape(), "A,B,C");
  PressKey(VK_ESCAPE);
  EXPECT_FALSE(TreeDragInProgress());
  EXPECT_FALSE(DragImageShown());
  EXPECT_NE(GetCapture(), main);
  EXPECT_EQ(Mark(), nullptr);
  EXPECT_EQ(SelectedNode(Lists()), a);
  EXPECT_TRUE(IsWindowVisible(main)) << "Escape ended the drag, not the window";
  Release(On(b, Part::kMiddle));
  EXPECT_EQ(Shape(), "A,B,C");

  // Another window takes the capture (as a message box would): the drag
  // ends, and the pointer's next moves and release are no drag.
  StartDrag(a, On(b, Part::kMiddle));
  ASSERT_TRUE(TreeDragInProgress());
  SetCapture(static_cast<HWND>(App().activeTree));
  PumpFor(20);
  EXPECT_FALSE(TreeDragInProgress());
  EXPECT_FALSE(DragImageShown());
  EXPECT_EQ(Mark(), nullptr);
  ReleaseCapture();
  const POINT elsewhere = On(Find("C"), Part::kMiddle);
  Send({MouseAt(elsewhere, 0)});
  SettleAt(elsewhere);
  EXPECT_EQ(Mark(), nullptr);
  Release(elsewhere);
  EXPECT_EQ(Shape(), "A,B,C");
  EXPECT_TRUE(prompts.shown().empty());
}

TEST_F(TreeDrag, WithoutADragImageTheDragGoesOnAndSaysSo) {
  Node a = Add(nullptr, "A");
  Node b = Add(nullptr, "B");
  // The control makes no drag image for a tree without normal images.
  TreeView_SetImageList(Tree(), nullptr, TVSIL_NORMAL);
  Drag(a, On(b, Part::kMiddle));
  EXPECT_EQ(prompts.Texts(), std::vector<std::string>{"CreateDragImage failed!"});
  EXPECT_EQ(Shape(), "B(A)");
}

}  // namespace
