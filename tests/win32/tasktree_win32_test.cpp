// The task-tree windows: how they are made, their images, and the expand
// boxes drawn over the control's painting, checked pixel by pixel.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "base/appstate.h"
#include "base/win32/scoped.h"
#include "tests/win32/tree_window.h"
#include "tree/tasktree.h"
#include "tree/win32/tasktree_win32.h"

namespace {

// An off-screen 32-bit picture of a window's client area.
class Canvas {
 public:
  Canvas(int width, int height) : width_(width), height_(height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down: row 0 first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    bits_ = static_cast<uint32_t*>(bits);
    dc_ = ScopedDC::Compatible(nullptr);
    if (bits_) std::memset(bits_, 0xFF, static_cast<size_t>(width) * height * 4);
  }
  bool ok() const { return bits_ && dc_; }
  int width() const { return width_; }
  int height() const { return height_; }
  HDC dc() const { return dc_.get(); }
  HBITMAP bitmap() const { return bitmap_.get(); }

  COLORREF At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
    uint32_t bgrx = bits_[y * width_ + x];
    return RGB((bgrx >> 16) & 0xFF, (bgrx >> 8) & 0xFF, bgrx & 0xFF);
  }
  int Count(const RECT& area, COLORREF color) const {
    int n = 0;
    for (int y = area.top; y < area.bottom; ++y)
      for (int x = area.left; x < area.right; ++x)
        if (At(x, y) == color) ++n;
    return n;
  }

 private:
  int width_;
  int height_;
  ScopedGdiObject<HBITMAP> bitmap_;
  ScopedDC dc_;
  uint32_t* bits_ = nullptr;
};

// Lets the tree paint itself into the canvas as the skinned painting does.
void PrintTree(HWND tree, Canvas& canvas) {
  ScopedSelect select(canvas.dc(), canvas.bitmap());
  SendMessageA(tree, WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.dc()), 0);
  SendMessageA(tree, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT);
  GdiFlush();
}

Node Add(TaskForest& forest, Node parent, const char* name) {
  ForestItem item{};
  item.mask = kItemText;
  item.text = const_cast<char*>(name);
  return forest.Insert(parent, kLastNode, item);
}

RECT TextRect(TaskForest& forest, Node node) {
  Rect r{};
  EXPECT_EQ(1, forest.GetItemRect(node, true, &r));
  return RECT{r.left, r.top, r.right, r.bottom};
}

RECT RowRect(TaskForest& forest, Node node) {
  Rect r{};
  EXPECT_EQ(1, forest.GetItemRect(node, false, &r));
  return RECT{r.left, r.top, r.right, r.bottom};
}

// The part of a row left of its label, where boxes and check boxes go.
RECT LeftOfLabel(TaskForest& forest, Node node) {
  RECT row = RowRect(forest, node);
  row.right = TextRect(forest, node).left;
  return row;
}

// The suite's manifest asks for the common controls the program uses,
// version 6, which come from the side-by-side store (Wine's copy answers
// 5.81 to DllGetVersion, so the version number cannot tell).
TEST(CommonControls, SideBySideVersionIsLoaded) {
  HMODULE comctl = GetModuleHandleA("comctl32.dll");
  ASSERT_NE(nullptr, comctl);
  char path[MAX_PATH + 1] = {0};
  ASSERT_NE(0u, GetModuleFileNameA(comctl, path, MAX_PATH));
  std::string lower(path);
  for (char& ch : lower) ch = static_cast<char>(tolower(static_cast<unsigned char>(ch)));
  EXPECT_NE(std::string::npos, lower.find("\\winsxs\\")) << path;
  EXPECT_NE(std::string::npos, lower.find("common-controls")) << path;
}

class TaskTreeWindows : public ::testing::Test {
 protected:
  void SetUp() override { ResetAppState(); }
  void TearDown() override {
    if (App().defaultCheckImages) ImageList_Destroy(static_cast<HIMAGELIST>(App().defaultCheckImages));
    ResetAppState();
  }
};

TEST_F(TaskTreeWindows, CreatedWithTheProgramsStylesColourAndFont) {
  HWND main = TestMainWindow();
  ScopedWindow lists(CreateTaskTree(GetModuleHandleA(nullptr), main, true));
  ScopedWindow active(CreateTaskTree(GetModuleHandleA(nullptr), main, false));
  ASSERT_TRUE(lists && active);

  char text[64];
  GetClassNameA(lists.get(), text, sizeof text);
  EXPECT_STREQ("SysTreeView32", text);
  GetWindowTextA(lists.get(), text, sizeof text);
  EXPECT_STREQ("Tree View", text);
  EXPECT_EQ(main, GetParent(lists.get()));

  const LONG_PTR common = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TVS_EDITLABELS | TVS_NOTOOLTIPS;
  const LONG_PTR drawn = TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_CHECKBOXES;
  EXPECT_EQ(common | TVS_CHECKBOXES, GetWindowLongPtrA(lists.get(), GWL_STYLE) & (common | drawn));
  EXPECT_EQ(common, GetWindowLongPtrA(active.get(), GWL_STYLE) & (common | drawn));
  EXPECT_EQ(0, GetWindowLongPtrA(active.get(), GWL_EXSTYLE) & ~WS_EX_NOPARENTNOTIFY);

  RECT mainClient, treeRect;
  GetClientRect(main, &mainClient);
  GetWindowRect(lists.get(), &treeRect);
  MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&treeRect), 2);
  EXPECT_EQ(0, treeRect.left);
  EXPECT_EQ(0, treeRect.top);
  EXPECT_EQ(mainClient.right, treeRect.right);
  EXPECT_EQ(mainClient.bottom, treeRect.bottom);

  EXPECT_EQ(RGB(250, 50, 250), static_cast<COLORREF>(SendMessageA(lists.get(), TVM_GETBKCOLOR, 0, 0)));

  HFONT listsFont = reinterpret_cast<HFONT>(SendMessageA(lists.get(), WM_GETFONT, 0, 0));
  HFONT activeFont = reinterpret_cast<HFONT>(SendMessageA(active.get(), WM_GETFONT, 0, 0));
  ASSERT_TRUE(listsFont && activeFont);
  EXPECT_EQ(listsFont, activeFont);  // one font for every tree
  LOGFONTA font = {};
  ASSERT_TRUE(GetObjectA(listsFont, sizeof font, &font));
  EXPECT_EQ(10, font.lfHeight);
  EXPECT_EQ(400, font.lfWeight);
  EXPECT_EQ(ANSI_CHARSET, font.lfCharSet);
  EXPECT_EQ(NONANTIALIASED_QUALITY, font.lfQuality);
  EXPECT_STREQ("MS Sans Serif", font.lfFaceName);

  // Subclassed by default with the pass-through procedure; both trees
  // share the one saved control procedure.
  EXPECT_EQ(reinterpret_cast<LONG_PTR>(DefaultTreeProc), GetWindowLongPtrA(lists.get(), GWLP_WNDPROC));
  ASSERT_NE(nullptr, PreviousTreeProc());
  DestroyTaskTree(lists.release());
  // The font is the trees', not one tree's: it outlives a tree destroyed.
  EXPECT_TRUE(GetObjectA(activeFont, sizeof font, &font));
  DestroyTaskTree(active.release());
}

LRESULT CALLBACK CountingTreeProc(HWND tree, UINT message, WPARAM wParam, LPARAM lParam) {
  static int* counter = nullptr;
  if (message == WM_NULL && lParam == 0x5E1F) counter = reinterpret_cast<int*>(wParam);
  if (message == WM_USER + 77 && counter) ++*counter;
  return CallWindowProcA(PreviousTreeProc(), tree, message, wParam, lParam);
}

TEST_F(TaskTreeWindows, CallersSubclassProcedureSeesTheTreesMessages) {
  WNDPROC before = nullptr;
  {
    ScopedWindow first(CreateTaskTree(GetModuleHandleA(nullptr), TestMainWindow(), false));
    before = PreviousTreeProc();
    DestroyTaskTree(first.release());
  }
  HWND tree = CreateTaskTree(GetModuleHandleA(nullptr), TestMainWindow(), true, CountingTreeProc);
  ASSERT_TRUE(tree);
  EXPECT_EQ(reinterpret_cast<LONG_PTR>(CountingTreeProc), GetWindowLongPtrA(tree, GWLP_WNDPROC));
  EXPECT_EQ(before, PreviousTreeProc());
  int seen = 0;
  SendMessageA(tree, WM_NULL, reinterpret_cast<WPARAM>(&seen), 0x5E1F);
  SendMessageA(tree, WM_USER + 77, 0, 0);
  SendMessageA(tree, WM_USER + 77, 0, 0);
  EXPECT_EQ(2, seen);
  // The control itself still answers through the saved procedure.
  EXPECT_EQ(0, SendMessageA(tree, TVM_GETCOUNT, 0, 0));
  SendMessageA(tree, WM_NULL, 0, 0x5E1F);
  DestroyTaskTree(tree);
}

// Every pixel of an image-list image, drawn on its own.
std::vector<COLORREF> ImagePixels(HIMAGELIST list, int index) {
  Canvas canvas(16, 16);
  std::vector<COLORREF> pixels;
  if (!canvas.ok()) return pixels;
  {
    ScopedSelect select(canvas.dc(), canvas.bitmap());
    ImageList_Draw(list, index, canvas.dc(), 0, 0, ILD_NORMAL);
    GdiFlush();
  }
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) pixels.push_back(canvas.At(x, y));
  return pixels;
}

std::vector<COLORREF> ResourcePixels(const char* name) {
  ScopedGdiObject<HBITMAP> bitmap(static_cast<HBITMAP>(
      LoadImageA(GetModuleHandleA(nullptr), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  Canvas canvas(16, 16);
  std::vector<COLORREF> pixels;
  if (!bitmap || !canvas.ok()) return pixels;
  ScopedDC source = ScopedDC::Compatible(nullptr);
  {
    ScopedSelect from(source.get(), bitmap.get());
    ScopedSelect to(canvas.dc(), canvas.bitmap());
    BitBlt(canvas.dc(), 0, 0, 16, 16, source.get(), 0, 0, SRCCOPY);
    GdiFlush();
  }
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) pixels.push_back(canvas.At(x, y));
  return pixels;
}

TEST_F(TaskTreeWindows, CheckBoxImagesOnlyForTheListsTree) {
  auto lists = MakeTreeForest(true);
  auto active = MakeTreeForest(false);
  auto secondLists = MakeTreeForest(true);
  ASSERT_TRUE(lists && active && secondLists);

  HIMAGELIST state = static_cast<HIMAGELIST>(lists->GetImageList(ImageListKind::kState));
  ASSERT_NE(nullptr, state);
  EXPECT_EQ(App().defaultCheckImages, state);
  EXPECT_EQ(state, secondLists->GetImageList(ImageListKind::kState));  // made once
  EXPECT_EQ(nullptr, active->GetImageList(ImageListKind::kState));
  ASSERT_EQ(3, ImageList_GetImageCount(state));
  int cx = 0, cy = 0;
  ASSERT_TRUE(ImageList_GetIconSize(state, &cx, &cy));
  EXPECT_EQ(16, cx);
  EXPECT_EQ(16, cy);

  // One shared 1 x 1 normal list, empty, on every tree.
  HIMAGELIST normal = static_cast<HIMAGELIST>(active->GetImageList(ImageListKind::kNormal));
  ASSERT_NE(nullptr, normal);
  EXPECT_EQ(normal, lists->GetImageList(ImageListKind::kNormal));
  EXPECT_EQ(0, ImageList_GetImageCount(normal));
  ASSERT_TRUE(ImageList_GetIconSize(normal, &cx, &cy));
  EXPECT_EQ(1, cx);
  EXPECT_EQ(1, cy);

  // Empty, empty, checked: state 1 shows the empty box, state 2 the check.
  std::vector<COLORREF> empty = ResourcePixels("IDI_EMPTY");
  std::vector<COLORREF> check = ResourcePixels("IDI_CHECK");
  ASSERT_EQ(256u, empty.size());
  ASSERT_EQ(256u, check.size());
  EXPECT_NE(empty, check);
  EXPECT_EQ(empty, ImagePixels(state, 0));
  EXPECT_EQ(empty, ImagePixels(state, 1));
  EXPECT_EQ(check, ImagePixels(state, 2));
}

TEST_F(TaskTreeWindows, CustomDrawAsksForEachItemsPostPaint) {
  NMTVCUSTOMDRAW draw = {};
  draw.nmcd.dwDrawStage = CDDS_PREPAINT;
  EXPECT_EQ(CDRF_NOTIFYITEMDRAW, OnTreeCustomDraw(&draw));
  draw.nmcd.dwDrawStage = CDDS_ITEMPREPAINT;
  EXPECT_EQ(CDRF_NOTIFYPOSTPAINT, OnTreeCustomDraw(&draw));
  draw.nmcd.dwDrawStage = CDDS_POSTPAINT;
  EXPECT_EQ(CDRF_DODEFAULT, OnTreeCustomDraw(&draw));
  draw.nmcd.dwDrawStage = CDDS_PREERASE;
  EXPECT_EQ(CDRF_DODEFAULT, OnTreeCustomDraw(&draw));
}

struct BoxCase {
  bool checkBoxes;
  bool systemColours;  // else explicit line and text colours are set
};

class ExpandBoxes : public TaskTreeWindows, public ::testing::WithParamInterface<BoxCase> {};

// A level-0 folder holding a collapsed parent, an expanded parent and a
// leaf: boxes only beside the two parents, a plus and a minus, clear of
// the check box in the Lists tree.
TEST_P(ExpandBoxes, DrawnBesideLevelOneParentsOnly) {
  const BoxCase c = GetParam();
  auto forest = MakeTreeForest(c.checkBoxes);
  ASSERT_TRUE(forest);
  HWND tree = static_cast<HWND>(forest->Window());

  Node folder = Add(*forest, kRootNode, "Folder");
  Node closed = Add(*forest, folder, "Closed parent");
  Add(*forest, closed, "Hidden child");
  Node open = Add(*forest, folder, "Open parent");
  Node openChild = Add(*forest, open, "Shown child");
  Node leaf = Add(*forest, folder, "Leaf");
  ASSERT_TRUE(folder && closed && open && openChild && leaf);
  forest->Expand(folder, ExpandAction::kExpand);
  forest->Expand(open, ExpandAction::kExpand);

  COLORREF line = GetSysColor(COLOR_GRAYTEXT);
  COLORREF text = GetSysColor(COLOR_WINDOWTEXT);
  if (!c.systemColours) {
    line = RGB(200, 0, 0);
    text = RGB(0, 0, 200);
    SendMessageA(tree, TVM_SETLINECOLOR, 0, static_cast<LPARAM>(line));
    SendMessageA(tree, TVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(text));
  } else {
    // The control answers "default" rather than a colour here; the pens
    // must be made from the system's colours instead.
    EXPECT_EQ(CLR_DEFAULT, static_cast<COLORREF>(SendMessageA(tree, TVM_GETLINECOLOR, 0, 0)));
  }

  RECT client;
  GetClientRect(tree, &client);
  Canvas canvas(client.right, client.bottom);
  ASSERT_TRUE(canvas.ok());
  PrintTree(tree, canvas);

  struct Expect {
    Node node;
    int level;
    bool drawn;
    bool plus;
  };
  const Expect rows[] = {
      {folder, 0, false, false},    {closed, 1, true, true}, {open, 1, true, false},
      {openChild, 2, false, false}, {leaf, 1, false, false},
  };
  for (const Expect& row : rows) {
    SCOPED_TRACE(testing::Message() << "level " << row.level << (row.drawn ? " parent" : ""));
    RECT label = TextRect(*forest, row.node);
    ExpandBox box = ExpandBoxOf(tree, reinterpret_cast<HTREEITEM>(row.node));
    ASSERT_EQ(row.drawn, box.drawn);
    RECT left = LeftOfLabel(*forest, row.node);
    if (!box.drawn) {
      if (!c.systemColours) {
        EXPECT_EQ(0, canvas.Count(left, line));
        EXPECT_EQ(0, canvas.Count(left, text));
      }
      continue;
    }
    EXPECT_EQ(row.plus, box.plus);
    const int x = box.centerX;
    const int y = box.centerY;
    EXPECT_EQ(label.left - (c.checkBoxes ? 28 : 12), x);
    EXPECT_EQ(label.top + 8, y);
    ASSERT_EQ(4, box.half) << "the Wine suite draws at 96 DPI";
    // The 9 x 9 outline in the line colour, its inside left alone.
    for (int d = -4; d <= 4; ++d) {
      EXPECT_EQ(line, canvas.At(x + d, y - 4)) << d;
      EXPECT_EQ(line, canvas.At(x + d, y + 4)) << d;
      EXPECT_EQ(line, canvas.At(x - 4, y + d)) << d;
      EXPECT_EQ(line, canvas.At(x + 4, y + d)) << d;
    }
    EXPECT_NE(line, canvas.At(x - 3, y - 3));
    EXPECT_NE(text, canvas.At(x - 3, y - 3));
    // The bar from x - 2 to x + 2, and for a plus the upright as well.
    for (int d = -2; d <= 2; ++d) EXPECT_EQ(text, canvas.At(x + d, y)) << d;
    EXPECT_NE(text, canvas.At(x - 3, y));
    EXPECT_NE(text, canvas.At(x + 3, y));
    for (int d : {-2, -1, 1, 2}) EXPECT_EQ(row.plus, canvas.At(x, y + d) == text) << d;
    EXPECT_NE(text, canvas.At(x, y - 3));
    if (!c.systemColours) {
      // Nothing else in those colours left of the label: exactly one box.
      EXPECT_EQ(32, canvas.Count(left, line));
      EXPECT_EQ(row.plus ? 9 : 5, canvas.Count(left, text));
    }
    if (c.checkBoxes) {
      // The check box beside it is drawn whole: its 13 x 13 border of 48
      // pixels is not crossed by the expand box.
      EXPECT_EQ(48, canvas.Count(left, RGB(28, 81, 128)));
    }
  }
}

// At every scale the square is whole and even, its lines as thick as the
// pen, and the plus as long as it is wide, with square ends.
TEST(ExpandBoxPainting, TheSquareAndThePlusKeepTheirShapeAtEveryScale) {
  const COLORREF line = RGB(0, 0, 0), text = RGB(128, 128, 128);
  for (const int dpi : {96, 144, 192, 288}) {
    SCOPED_TRACE(dpi);
    ExpandBox box = ExpandBoxFor(Rect{0, 0, 40, 16}, 1, true, false, 0, dpi);
    box.centerX = box.centerY = 32;
    Canvas canvas(65, 65);
    ASSERT_TRUE(canvas.ok());
    {
      ScopedSelect select(canvas.dc(), canvas.bitmap());
      PaintExpandBox(canvas.dc(), box, line, text);
      GdiFlush();
    }
    const RECT all = {0, 0, 65, 65};
    for (int y = 0; y < 65; ++y)
      for (int x = 0; x < 65; ++x)
        if (canvas.At(x, y) == line) {
          EXPECT_EQ(canvas.At(64 - x, y), line) << x << "," << y << ": the square is its own mirror image";
          EXPECT_EQ(canvas.At(x, 64 - y), line) << x << "," << y;
        }
    const int side = 2 * box.half + 1, inside = side - 2 * box.pen, arm = 2 * box.bar + 1;
    EXPECT_EQ(canvas.Count(all, line), side * side - inside * inside);
    EXPECT_EQ(canvas.Count(all, text), 2 * arm * box.pen - box.pen * box.pen);
  }
}

INSTANTIATE_TEST_SUITE_P(Trees, ExpandBoxes,
                         ::testing::Values(BoxCase{true, true}, BoxCase{false, true}, BoxCase{true, false},
                                           BoxCase{false, false}),
                         [](const ::testing::TestParamInfo<BoxCase>& info) {
                           return std::string(info.param.checkBoxes ? "Lists" : "Plain") +
                                  (info.param.systemColours ? "SystemColours" : "SkinColours");
                         });

}  // namespace
