#include "tree/win32/tasktree_win32.h"

#include "base/appstate.h"
#include "base/scale.h"
#include "base/win32/dpi.h"
#include "base/win32/scoped.h"
#include "skin/win32/checkimages.h"
#include "tree/tasktree.h"

namespace {

// Shared by the three trees for the program's lifetime.
WNDPROC gPreviousTreeProc = nullptr;
ScopedImageList gNormalImages;
ScaledFont gTreeFont{10, FW_NORMAL, NONANTIALIASED_QUALITY};

HINSTANCE ResourceInstance() {
  Handle instance = App().instance;
  return instance ? static_cast<HINSTANCE>(instance) : GetModuleHandleA(nullptr);
}

HBITMAP LoadResourceBitmap(const char* name) {
  return static_cast<HBITMAP>(LoadImageA(ResourceInstance(), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

// The control answers CLR_DEFAULT (lines) or -1 (text) while it draws with
// the system's colours; such a value is no colour to make a pen from.
COLORREF ResolveColor(LRESULT answer, int systemColor) {
  COLORREF color = static_cast<COLORREF>(answer);
  if (color == CLR_DEFAULT || color == CLR_NONE) return GetSysColor(systemColor);
  return color;
}

int LevelOf(HWND tree, HTREEITEM item) {
  int level = 0;
  // Bounded, in case the control ever answered in a loop.
  for (HTREEITEM parent = TreeView_GetParent(tree, item); parent && level < 100000;
       parent = TreeView_GetParent(tree, parent))
    ++level;
  return level;
}

// A filled bar from (left, top) to (right, bottom), both ends included:
// square ends at any thickness, where a wide pen would round them.
void Bar(HDC dc, HBRUSH brush, int left, int top, int right, int bottom) {
  const RECT bar = {left, top, right + 1, bottom + 1};
  FillRect(dc, &bar, brush);
}

void DrawExpandBox(const NMTVCUSTOMDRAW& draw) {
  HWND tree = draw.nmcd.hdr.hwndFrom;
  HTREEITEM item = reinterpret_cast<HTREEITEM>(draw.nmcd.dwItemSpec);
  if (!tree || !item || !draw.nmcd.hdc) return;
  const ExpandBox box = ExpandBoxOf(tree, item);
  if (!box.drawn) return;
  PaintExpandBox(draw.nmcd.hdc, box, ResolveColor(SendMessageA(tree, TVM_GETLINECOLOR, 0, 0), COLOR_GRAYTEXT),
                 ResolveColor(SendMessageA(tree, TVM_GETTEXTCOLOR, 0, 0), COLOR_WINDOWTEXT));
}

}  // namespace

WNDPROC PreviousTreeProc() {
  return gPreviousTreeProc;
}

LRESULT CALLBACK DefaultTreeProc(HWND tree, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!gPreviousTreeProc) return DefWindowProcA(tree, message, wParam, lParam);
  return CallWindowProcA(gPreviousTreeProc, tree, message, wParam, lParam);
}

HWND CreateTaskTree(HINSTANCE instance, HWND mainWindow, bool checkBoxes, WNDPROC treeProc) {
  RECT client = {0, 0, 0, 0};
  if (mainWindow) GetClientRect(mainWindow, &client);
  DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TVS_EDITLABELS | TVS_NOTOOLTIPS;
  if (checkBoxes) style |= TVS_CHECKBOXES;
  HWND tree = CreateWindowExA(0, WC_TREEVIEWA, "Tree View", style, 0, 0, client.right - client.left,
                              client.bottom - client.top, mainWindow, nullptr, instance, nullptr);
  if (!tree) return nullptr;

  WNDPROC previous = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
      tree, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(treeProc ? treeProc : DefaultTreeProc)));
  if (!gPreviousTreeProc) gPreviousTreeProc = previous;

  SendMessageA(tree, TVM_SETBKCOLOR, 0, static_cast<LPARAM>(RGB(250, 50, 250)));

  ScaleTreeFont(tree, WindowDpi(mainWindow));
  return tree;
}

void ScaleTreeFont(HWND tree, int dpi) {
  // One font for every tree.
  gTreeFont.Apply(tree, dpi);
  // A row as high as a check box: the control would measure the font
  // alone, and a bitmap font grows by its own steps, not by the scale.
  SendMessageA(tree, TVM_SETITEMHEIGHT, static_cast<WPARAM>(ScaleForDpi(kCheckBoxSide, dpi)), 0);
}

HIMAGELIST MakeDefaultCheckImages(int dpi) {
  ScopedGdiObject<HBITMAP> empty(LoadResourceBitmap("IDI_EMPTY"));
  ScopedGdiObject<HBITMAP> checked(LoadResourceBitmap("IDI_CHECK"));
  return MakeCheckBoxImages(empty.get(), checked.get(), ScaleForDpi(kCheckBoxSide, dpi));
}

int AttachTreeImages(HWND tree) {
  if (!tree) return 0;
  AppState& app = App();
  if (!app.defaultCheckImages) app.defaultCheckImages = MakeDefaultCheckImages(WindowDpi(tree));
  if (!gNormalImages) gNormalImages.reset(ImageList_Create(1, 1, ILC_COLOR16, 0, 0));

  SendMessageA(tree, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(gNormalImages.get()));
  if (GetWindowLongPtrA(tree, GWL_STYLE) & TVS_CHECKBOXES) {
    HIMAGELIST ours = static_cast<HIMAGELIST>(app.defaultCheckImages);
    if (ours) {
      // A check-box tree comes with state images of the control's making,
      // which it never destroys itself.
      HIMAGELIST previous = reinterpret_cast<HIMAGELIST>(
          SendMessageA(tree, TVM_SETIMAGELIST, TVSIL_STATE, reinterpret_cast<LPARAM>(ours)));
      if (previous && previous != ours) ImageList_Destroy(previous);
    }
    return ours && gNormalImages ? 1 : 0;
  }
  return gNormalImages ? 1 : 0;
}

void PaintExpandBox(HDC dc, const ExpandBox& box, COLORREF lineColor, COLORREF textColor) {
  ScopedGdiObject<HBRUSH> outline(CreateSolidBrush(lineColor));
  ScopedGdiObject<HBRUSH> sign(CreateSolidBrush(textColor));
  if (!dc || !box.drawn || !outline || !sign) return;
  const int x = box.centerX;
  const int y = box.centerY;
  const int h = box.half;
  const int w = box.pen - 1;  // a line's thickness beyond its first pixel
  Bar(dc, outline.get(), x - h, y - h, x + h, y - h + w);
  Bar(dc, outline.get(), x - h, y + h - w, x + h, y + h);
  Bar(dc, outline.get(), x - h, y - h, x - h + w, y + h);
  Bar(dc, outline.get(), x + h - w, y - h, x + h, y + h);
  // The sign across the centre, its thickness split about it.
  const int across = y - w / 2;
  Bar(dc, sign.get(), x - box.bar, across, x + box.bar, across + w);
  if (box.plus) Bar(dc, sign.get(), x - w / 2, y - box.bar, x - w / 2 + w, y + box.bar);
}

ExpandBox ExpandBoxOf(HWND tree, HTREEITEM item) {
  // Across from the label, in the middle of the row's height (Wine's
  // rectangles end a pixel short of the next row).
  RECT text;
  if (!tree || !item || !TreeView_GetItemRect(tree, item, &text, TRUE)) return ExpandBox{};
  const int height = TreeView_GetItemHeight(tree);
  const bool hasChildren = TreeView_GetChild(tree, item) != nullptr;
  const bool expanded = (TreeView_GetItemState(tree, item, TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
  // The check box as wide as its images, which a skin sizes by its own
  // multiple rather than by the exact scale.
  int checkWidth = 0;
  int checkHeight = 0;
  if (GetWindowLongPtrA(tree, GWL_STYLE) & TVS_CHECKBOXES) {
    HIMAGELIST states = TreeView_GetImageList(tree, TVSIL_STATE);
    if (!states || !ImageList_GetIconSize(states, &checkWidth, &checkHeight))
      checkWidth = ScaleForDpi(kCheckBoxSide, WindowDpi(tree));
  }
  return ExpandBoxFor(Rect{text.left, text.top, text.right, text.top + height}, LevelOf(tree, item), hasChildren,
                      expanded, checkWidth, WindowDpi(tree));
}

LRESULT OnTreeCustomDraw(NMTVCUSTOMDRAW* draw) {
  if (!draw) return CDRF_DODEFAULT;
  switch (draw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
      return CDRF_NOTIFYPOSTPAINT;
    case CDDS_ITEMPOSTPAINT:
      DrawExpandBox(*draw);
      return CDRF_DODEFAULT;
    default:
      return CDRF_DODEFAULT;
  }
}

void DestroyTaskTree(HWND tree) {
  if (tree && IsWindow(tree)) DestroyWindow(tree);
}
