// Painting a control over the tiled background: rendered off-screen through
// its own procedure, the key colour replaced pixel by pixel, one copy out.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "base/appstate.h"
#include "base/prompts.h"
#include "base/win32/scoped.h"
#include "fakes/scriptedprompts.h"
#include "skin/compose.h"
#include "skin/win32/transparent.h"
#include "tests/win32/pixel_canvas.h"
#include "tests/win32/tree_window.h"
#include "tree/win32/tasktree_win32.h"

namespace {

constexpr uint32_t kKey = 0x00FA32FA;
constexpr uint32_t kNearKey = 0x00FB32FA;  // red 251: one step away
constexpr uint32_t kUntouched = 0x00123456;

// A control procedure with a known picture: the erase fills the key colour,
// the print draws a black stripe at x = 12 and 13 and one pixel one step
// away from the key at (17, 3). Remembers the messages in order.
std::vector<UINT> g_rendered;
bool g_drawNothing = false;

LRESULT CALLBACK KnownPictureProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  HDC dc = reinterpret_cast<HDC>(wParam);
  switch (message) {
    case WM_ERASEBKGND: {
      g_rendered.push_back(message);
      if (g_drawNothing) return 0;
      RECT all;
      GetClientRect(window, &all);
      ScopedGdiObject<HBRUSH> key(CreateSolidBrush(RGB(250, 50, 250)));
      FillRect(dc, &all, key.get());
      return 1;
    }
    case WM_PRINTCLIENT:
      g_rendered.push_back(message);
      EXPECT_EQ(static_cast<LPARAM>(PRF_CLIENT), lParam);
      if (g_drawNothing) return 0;
      for (int y = 0; y < 10; ++y) {
        SetPixel(dc, 12, y, RGB(0, 0, 0));
        SetPixel(dc, 13, y, RGB(0, 0, 0));
      }
      SetPixel(dc, 17, 3, RGB(251, 50, 250));
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

class TransparentPainting : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetAppState();
    App().prompts = &prompts;
    g_rendered.clear();
    g_drawNothing = false;
    // A pop-up of its own: the test main window stays hidden, and a child
    // of a hidden window has nothing to paint on the screen.
    control.reset(CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, "STATIC", "", WS_POPUP, 0, 0, 20, 10,
                                  nullptr, nullptr, GetModuleHandleA(nullptr), nullptr));
  }
  void TearDown() override { ResetAppState(); }

  ScriptedPrompts prompts;
  ScopedWindow control;
};

TEST_F(TransparentPainting, KeyPixelsTakeTheBackgroundTiledFromTheCorner) {
  ASSERT_TRUE(control);
  ScopedGdiObject<HBITMAP> background = MakeTestBackground(3, 4);
  PixelCanvas canvas(20, 10, kUntouched);
  ASSERT_TRUE(canvas.ok() && background);

  EXPECT_EQ(0, PaintControlTransparently(control.get(), background.get(), KnownPictureProc, canvas.dc()));
  EXPECT_EQ((std::vector<UINT>{WM_ERASEBKGND, WM_PRINTCLIENT}), g_rendered) << "erase first, then print";
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 20; ++x) {
      uint32_t expected = TestBackgroundPixel(x % 3, y % 4);
      if (x == 12 || x == 13) expected = 0;
      if (x == 17 && y == 3) expected = kNearKey;
      ASSERT_EQ(expected, canvas.At(x, y)) << x << ", " << y;
    }
  EXPECT_TRUE(prompts.shown().empty());
}

TEST_F(TransparentPainting, LargerBackgroundIsCutAndUnpaintedPixelsAreClear) {
  ASSERT_TRUE(control);
  ScopedGdiObject<HBITMAP> background = MakeTestBackground(32, 16);
  PixelCanvas canvas(40, 20, kUntouched);
  ASSERT_TRUE(canvas.ok() && background);
  g_drawNothing = true;
  PaintControlTransparently(control.get(), background.get(), KnownPictureProc, canvas.dc());
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 20; ++x) ASSERT_EQ(TestBackgroundPixel(x, y), canvas.At(x, y)) << x << ", " << y;
  // Only the control's client area is painted into the target.
  EXPECT_EQ(kUntouched, canvas.At(20, 0));
  EXPECT_EQ(kUntouched, canvas.At(0, 10));
}

TEST_F(TransparentPainting, WithoutBackgroundNothingIsPaintedAndTheAreaIsValidated) {
  ASSERT_TRUE(control);
  PixelCanvas canvas(20, 10, kUntouched);
  ASSERT_TRUE(canvas.ok());
  PaintControlTransparently(control.get(), nullptr, KnownPictureProc, canvas.dc());
  EXPECT_EQ(kUntouched, canvas.At(5, 5));
  EXPECT_TRUE(g_rendered.empty());
  EXPECT_EQ(std::vector<std::string>{"No background image!"}, prompts.Texts());

  // On the screen: the pending paint is ended, so it is not asked again.
  ShowWindow(control.get(), SW_SHOWNA);
  InvalidateRect(control.get(), nullptr, FALSE);
  ASSERT_TRUE(GetUpdateRect(control.get(), nullptr, FALSE));
  PaintControlTransparently(control.get(), nullptr, KnownPictureProc, nullptr);
  EXPECT_FALSE(GetUpdateRect(control.get(), nullptr, FALSE));
  EXPECT_EQ(2u, prompts.shown().size());
}

TEST_F(TransparentPainting, OnlyTheCurrentViewPaintsOnTheScreen) {
  ASSERT_TRUE(control);
  ScopedGdiObject<HBITMAP> background = MakeTestBackground(3, 4);
  ShowWindow(control.get(), SW_SHOWNA);
  InvalidateRect(control.get(), nullptr, FALSE);
  ASSERT_TRUE(GetUpdateRect(control.get(), nullptr, FALSE));
  PaintControlTransparently(control.get(), background.get(), KnownPictureProc, nullptr);
  EXPECT_TRUE(g_rendered.empty()) << "a view under another one does not render";
  EXPECT_FALSE(GetUpdateRect(control.get(), nullptr, FALSE));

  App().currentView = control.get();
  InvalidateRect(control.get(), nullptr, FALSE);
  ASSERT_TRUE(GetUpdateRect(control.get(), nullptr, FALSE));
  PaintControlTransparently(control.get(), background.get(), KnownPictureProc, nullptr);
  EXPECT_EQ((std::vector<UINT>{WM_ERASEBKGND, WM_PRINTCLIENT}), g_rendered);
  EXPECT_FALSE(GetUpdateRect(control.get(), nullptr, FALSE));
  EXPECT_TRUE(prompts.shown().empty());

  // What reached the screen is the composed picture.
  PixelCanvas screen(20, 10, kUntouched);
  {
    ScopedDC window = ScopedDC::ForWindow(control.get());
    ASSERT_TRUE(BitBlt(screen.dc(), 0, 0, 20, 10, window.get(), 0, 0, SRCCOPY));
  }
  EXPECT_EQ(TestBackgroundPixel(0, 0), screen.At(0, 0));
  EXPECT_EQ(TestBackgroundPixel(19 % 3, 9 % 4), screen.At(19, 9));
  EXPECT_EQ(0u, screen.At(12, 5));
  EXPECT_EQ(kNearKey, screen.At(17, 3));
}

TEST_F(TransparentPainting, LabelEditIsRepaintedOverTheResult) {
  ASSERT_TRUE(control);
  ScopedGdiObject<HBITMAP> background = MakeTestBackground(3, 4);
  ScopedWindow edit(CreateWindowExA(0, "EDIT", "label", WS_CHILD | WS_VISIBLE, 0, 0, 10, 5, control.get(),
                                    nullptr, GetModuleHandleA(nullptr), nullptr));
  ASSERT_TRUE(edit);
  ShowWindow(control.get(), SW_SHOWNA);
  UpdateWindow(control.get());
  ValidateRect(edit.get(), nullptr);
  App().labelEdit = edit.get();
  PixelCanvas canvas(20, 10, kUntouched);
  PaintControlTransparently(control.get(), background.get(), KnownPictureProc, canvas.dc());
  EXPECT_TRUE(GetUpdateRect(edit.get(), nullptr, FALSE));
}

// A real tree: wherever it paints its key-colour background the tiles show,
// its text and lines stay as drawn.
TEST_F(TransparentPainting, TreeShowsTheBackgroundBehindItsText) {
  std::unique_ptr<TreeViewForest> forest = MakeTreeForest(false);
  ASSERT_TRUE(forest);
  HWND tree = static_cast<HWND>(forest->Window());
  for (const char* name : {"Buy milk", "Write the quarterly report", "WWWWWWWWWW"}) {
    ForestItem item{};
    item.mask = kItemText;
    item.text = const_cast<char*>(name);
    ASSERT_NE(nullptr, forest->Insert(kRootNode, kLastNode, item));
  }
  RECT client;
  GetClientRect(tree, &client);
  const int width = client.right;
  const int height = client.bottom;
  ScopedGdiObject<HBITMAP> background = MakeTestBackground(7, 5);

  // The tree as it paints itself.
  PixelCanvas plain(width, height, kKey);
  ASSERT_TRUE(plain.ok());
  CallWindowProcA(PreviousTreeProc(), tree, WM_ERASEBKGND, reinterpret_cast<WPARAM>(plain.dc()), 0);
  CallWindowProcA(PreviousTreeProc(), tree, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(plain.dc()), PRF_CLIENT);

  PixelCanvas composed(width, height, kUntouched);
  ASSERT_TRUE(composed.ok());
  PaintControlTransparently(tree, background.get(), PreviousTreeProc(), composed.dc());

  const ComposedCounts counts = CheckComposed(plain, composed, kKey, 7, 5);
  const int clear = counts.clear;
  const int drawn = counts.drawn;
  EXPECT_GT(drawn, 50) << "the labels were drawn";
  EXPECT_GT(clear, width * height / 2) << "most of the tree is its background";
  EXPECT_TRUE(prompts.shown().empty());
}

}  // namespace
