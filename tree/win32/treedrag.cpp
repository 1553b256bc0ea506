#include "tree/win32/treedrag.h"

#include <string>

#include "base/prompts.h"
#include "base/scale.h"
#include "base/win32/dpi.h"
#include "base/win32/scoped.h"
#include "base/win32/treeview_forest.h"
#include "tree/commands.h"
#include "tree/droptarget.h"
#include "tree/tasktree.h"

namespace {

// The drag in progress; all null when there is none.
struct TreeDrag {
  HWND owner;  // the window that holds the capture: the tree's parent
  HWND tree;
  TaskForest* forest;
  HTREEITEM dragged;
  bool image;  // a drag image was begun (and is to be ended)
  DragScroll scroll;
  POINT last;  // the pointer, in the tree's client coordinates
};
TreeDrag gDrag = {};

Node NodeOf(HTREEITEM item) {
  return reinterpret_cast<Node>(item);
}

// A point of the owner's client area in the tree's.
POINT InTree(POINT point) {
  MapWindowPoints(gDrag.owner, gDrag.tree, &point, 1);
  return point;
}

// Changes to the tree are painted while the drag image is hidden: the
// image lies over the tree's pixels and takes them along when it moves.
template <typename Change>
void WithImageHidden(Change change) {
  if (gDrag.image) ImageList_DragShowNolock(FALSE);
  change();
  UpdateWindow(gDrag.tree);
  if (gDrag.image) ImageList_DragShowNolock(TRUE);
}

// Marks the node the drop would put the dragged node into, if any.
void MarkDropTarget() {
  Node hit = nullptr;
  DropTarget target =
      FindDropTarget(*gDrag.forest, NodeOf(gDrag.dragged), {gDrag.last.x, gDrag.last.y}, &hit);
  Node mark = DropMarkFor(target, hit);
  if (gDrag.forest->GetNext(nullptr, Relation::kDropHilite) == mark) return;
  WithImageHidden([&] { gDrag.forest->Select(mark, Relation::kDropHilite); });
}

void ScrollLine(DragScroll direction) {
  WithImageHidden([&] {
    SendMessageA(gDrag.tree, WM_VSCROLL, direction == DragScroll::kUp ? SB_LINEUP : SB_LINEDOWN, 0);
  });
}

// A scroll starts with one line at once, then one a tick; a change of band
// (or leaving the bands) stops the timer that runs.
void FollowScrollBand(POINT screen) {
  RECT view;
  GetWindowRect(gDrag.tree, &view);
  const DragScroll wanted = DragScrollFor(screen.y, view.top, view.bottom);
  if (wanted == gDrag.scroll) return;
  KillTimer(gDrag.owner, kDragScrollUpTimer);
  KillTimer(gDrag.owner, kDragScrollDownTimer);
  gDrag.scroll = wanted;
  if (wanted == DragScroll::kNone) return;
  ScrollLine(wanted);
  SetTimer(gDrag.owner, wanted == DragScroll::kUp ? kDragScrollUpTimer : kDragScrollDownTimer,
           kDragScrollInterval, nullptr);
}

// Ends the drag: image, timers, mark and capture. The drag is over before
// the capture goes, so that the capture change it causes finds none.
void EndDrag() {
  const TreeDrag ending = gDrag;
  gDrag = {};
  KillTimer(ending.owner, kDragScrollUpTimer);
  KillTimer(ending.owner, kDragScrollDownTimer);
  if (ending.image) {
    ImageList_DragLeave(ending.tree);
    ImageList_EndDrag();
  }
  ending.forest->Select(nullptr, Relation::kDropHilite);
  if (GetCapture() == ending.owner) ReleaseCapture();
}

// The label as the row shows it, for a drag image. Wine's tree-view makes
// its image list one pixel wider than the picture it draws for it, and so
// adds no image to it.
ScopedImageList LabelImage(HWND tree, TaskForest& forest, HTREEITEM item) {
  RECT text{};
  if (!TreeView_GetItemRect(tree, item, &text, TRUE)) return ScopedImageList();
  const int width = text.right - text.left;
  const int height = text.bottom - text.top;
  const std::string label = TaskName(forest, NodeOf(item));
  ScopedDC screen = ScopedDC::ForWindow(nullptr);
  ScopedDC dc = ScopedDC::Compatible(screen.get());
  ScopedGdiObject<HBITMAP> bitmap(
      width > 0 && height > 0 ? CreateCompatibleBitmap(screen.get(), width, height) : nullptr);
  if (!dc || !bitmap) return ScopedImageList();
  {
    ScopedSelect selectBitmap(dc.get(), bitmap.get());
    ScopedSelect selectFont(dc.get(), reinterpret_cast<HGDIOBJ>(SendMessageA(tree, WM_GETFONT, 0, 0)));
    RECT area = {0, 0, width, height};
    FillRect(dc.get(), &area, GetSysColorBrush(COLOR_WINDOW));
    SetBkMode(dc.get(), TRANSPARENT);
    SetTextColor(dc.get(), GetSysColor(COLOR_WINDOWTEXT));
    area.left += ScaleForDpi(2, WindowDpi(tree));
    DrawTextA(dc.get(), label.c_str(), -1, &area, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  }
  // Only the letters are drawn over the rows the image passes.
  ScopedImageList list(ImageList_Create(width, height, ILC_COLOR24 | ILC_MASK, 1, 0));
  if (!list || ImageList_AddMasked(list.get(), bitmap.get(), GetSysColor(COLOR_WINDOW)) < 0)
    return ScopedImageList();
  return list;
}

// The button went up while a warning was shown: there is nothing to drag.
bool ButtonStillDown() {
  return (GetKeyState(VK_LBUTTON) & 0x8000) != 0;
}

}  // namespace

HTREEITEM BeginTreeDrag(const NMTREEVIEWA& notification) {
  HWND tree = notification.hdr.hwndFrom;
  HTREEITEM item = notification.itemNew.hItem;
  TaskForest* forest = TreeViewForest::FromWindow(tree);
  if (!forest || !item) return nullptr;
  const TreeKind kind = KindOf(*forest);
  if (kind != TreeKind::kLists && kind != TreeKind::kActive) return nullptr;
  if (gDrag.tree) EndDrag();

  // The image is copied by ImageList_BeginDrag; ours goes at once.
  ScopedImageList image(TreeView_CreateDragImage(tree, item));
  if (!image) {
    ShowWarning("CreateDragImage failed!");
    if (!ButtonStillDown()) return nullptr;
  } else if (ImageList_GetImageCount(image.get()) == 0) {
    image = LabelImage(tree, *forest, item);
  }
  gDrag.owner = GetParent(tree);
  gDrag.tree = tree;
  gDrag.forest = forest;
  gDrag.dragged = item;
  gDrag.last = notification.ptDrag;
  SetCapture(gDrag.owner);
  // The dragged node is the selection while it is dragged. (With none,
  // Wine's tree-view could not clear the drop-target mark: it takes a
  // request for no node then as one for the selection it already has.)
  TreeView_SelectItem(tree, item);
  UpdateWindow(tree);
  if (image) {
    int width = 0;
    int height = 0;
    ImageList_GetIconSize(image.get(), &width, &height);
    gDrag.image = ImageList_BeginDrag(image.get(), 0, width / 2, height / 2) != FALSE;
    if (gDrag.image) ImageList_DragEnter(tree, notification.ptDrag.x, notification.ptDrag.y);
  }
  return item;
}

bool TreeDragInProgress() {
  return gDrag.tree != nullptr;
}

LRESULT UpdateTreeDrag(POINT point) {
  if (!gDrag.tree) return 0;
  POINT screen = point;
  ClientToScreen(gDrag.owner, &screen);
  FollowScrollBand(screen);
  gDrag.last = InTree(point);
  if (gDrag.image) ImageList_DragMove(gDrag.last.x, gDrag.last.y);
  MarkDropTarget();
  return 0;
}

LRESULT DropTreeDrag(POINT point) {
  if (!gDrag.tree) return 0;
  const POINT at = InTree(point);
  TaskForest& forest = *gDrag.forest;
  const Node dragged = NodeOf(gDrag.dragged);
  const DropTarget target = FindDropTarget(forest, dragged, {at.x, at.y}, nullptr);
  EndDrag();
  // A move selects the moved node; otherwise the dragged node stays, selected.
  DropTask(forest, dragged, target);
  return 0;
}

LRESULT CancelTreeDrag() {
  if (gDrag.tree) EndDrag();
  return 0;
}

bool OnTreeDragTimer(UINT_PTR timer) {
  if (timer != kDragScrollUpTimer && timer != kDragScrollDownTimer) return false;
  if (!gDrag.tree) {
    // A tick that was already queued when the drag ended.
    return true;
  }
  ScrollLine(timer == kDragScrollUpTimer ? DragScroll::kUp : DragScroll::kDown);
  // Another row is under the pointer now.
  MarkDropTarget();
  return true;
}

void OnTreeDragCaptureChanged(HWND gaining) {
  if (gDrag.tree && gaining != gDrag.owner) EndDrag();
}

bool HoldKeyForTreeDrag(UINT key) {
  if (!gDrag.tree) return false;
  if (key == VK_ESCAPE) EndDrag();
  return true;
}
