#include "tree/win32/treewindow.h"

#include <windowsx.h>

#include <cstddef>

#include "base/appstate.h"
#include "base/win32/treeview_forest.h"
#include "skin/win32/transparent.h"
#include "tree/commands.h"
#include "tree/dispatch.h"
#include "tree/tasktree.h"
#include "tree/treekeys.h"
#include "tree/treemenu.h"
#include "tree/win32/tasktree_win32.h"
#include "tree/win32/treedrag.h"

namespace {

// Pan: both -1 when no pan is under way.
int gPanStartX = -1;
int gPanStartPos = -1;

// The pop-up menu while it is tracked, and what its command is for.
HMENU gTrackedMenu = nullptr;
HWND gMenuTree = nullptr;
HTREEITEM gMenuTarget = nullptr;

const char kEditProcProperty[] = "VelkinEditProc";

Node NodeOf(HTREEITEM item) {
  return reinterpret_cast<Node>(item);
}

HBITMAP TreeBackground() {
  return static_cast<HBITMAP>(App().treeBackground);
}

LRESULT Default(HWND tree, UINT message, WPARAM wParam, LPARAM lParam) {
  WNDPROC previous = PreviousTreeProc();
  if (!previous) return DefWindowProcA(tree, message, wParam, lParam);
  return CallWindowProcA(previous, tree, message, wParam, lParam);
}

HTREEITEM HitTest(HWND tree, POINT point, UINT* flags) {
  TVHITTESTINFO hit{};
  hit.pt = point;
  HTREEITEM item = TreeView_HitTest(tree, &hit);
  *flags = hit.flags;
  return item;
}

void ShowTreeMenu(HWND tree, HTREEITEM node, POINT point) {
  ScopedMenu menu = PrepareTreeMenu(tree, node);
  if (!menu) return;
  HMENU popup = GetSubMenu(menu.get(), 0);
  if (popup) {
    ClientToScreen(tree, &point);
    gMenuTree = tree;
    gMenuTarget = node;
    gTrackedMenu = popup;
    TrackPopupMenu(popup, TPM_RIGHTBUTTON, point.x, point.y, 0, tree, nullptr);
    gTrackedMenu = nullptr;
  }
}

LRESULT OnLeftButtonDown(HWND tree, TaskForest* forest, WPARAM wParam, LPARAM lParam) {
  POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  UINT flags = 0;
  HTREEITEM item = HitTest(tree, point, &flags);
  if (item && (flags & (TVHT_ONITEMSTATEICON | TVHT_ONITEMICON))) TreeView_SelectItem(tree, item);
  const TreeKind kind = forest ? KindOf(*forest) : TreeKind::kOther;
  // The control never sees a click on a check box: it would toggle the box
  // without activating anything.
  if (item && (flags & TVHT_ONITEMSTATEICON) && kind == TreeKind::kLists)
    return ToggleActivation(*forest, NodeOf(item));
  if (item && forest && (flags & TVHT_ONITEMINDENT)) {
    RECT text{};
    if (TreeView_GetItemRect(tree, item, &text, TRUE) && point.x > text.left - 32)
      ExpandNode(*forest, NodeOf(item), ExpandAction::kToggle);
  }
  if (!(flags & (TVHT_ONITEMICON | TVHT_ONITEMLABEL | TVHT_ONITEMINDENT | TVHT_ONITEMSTATEICON)))
    PanStart(tree, point.x);
  if (kind == TreeKind::kDone) {
    // No label editing, dragging or check boxes in Done.
    SetFocus(tree);
    TreeView_SelectItem(tree, item);
    return 0;
  }
  return Default(tree, WM_LBUTTONDOWN, wParam, lParam);
}

LRESULT OnDoubleClick(HWND tree, TaskForest* forest, WPARAM wParam, LPARAM lParam) {
  POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  UINT flags = 0;
  HTREEITEM item = HitTest(tree, point, &flags);
  // The second click of a double click on a Lists check box counts as a
  // click of its own, as on any check box; the control must not toggle the
  // box by itself, or box and links would disagree.
  if (item && forest && (flags & TVHT_ONITEMSTATEICON) && KindOf(*forest) == TreeKind::kLists)
    return ToggleActivation(*forest, NodeOf(item));
  if (!(flags & TVHT_ONITEMLABEL)) return Default(tree, WM_LBUTTONDBLCLK, wParam, lParam);
  if (item && forest) {
    if (KindOf(*forest) == TreeKind::kDone || TreeView_GetParent(tree, item))
      ShowProperties(*forest, NodeOf(item));
    else
      ExpandNode(*forest, NodeOf(item), ExpandAction::kToggle);
  }
  // The first click of the two may have started an edit.
  return TreeView_EndEditLabelNow(tree, TRUE);
}

void OnWheel(HWND tree, WPARAM wParam) {
  const short delta = static_cast<short>(HIWORD(wParam));
  // Three lines a notch, however large the notch.
  const WPARAM code = delta > 0 ? SB_LINEUP : SB_LINEDOWN;
  for (int i = 0; i < 3; ++i) SendMessageA(tree, WM_VSCROLL, code, 0);
  if (TreeBackground()) InvalidateRect(tree, nullptr, TRUE);
}

LRESULT CALLBACK LabelEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
  auto previous = reinterpret_cast<WNDPROC>(GetPropA(edit, kEditProcProperty));
  if (message == WM_CHAR && (wParam == '<' || wParam == '>')) return 0;
  if (message == WM_NCDESTROY) {
    RemovePropA(edit, kEditProcProperty);
    if (previous) SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
  }
  if (!previous) return DefWindowProcW(edit, message, wParam, lParam);
  return CallWindowProcW(previous, edit, message, wParam, lParam);
}

}  // namespace

void GuardLabelEditWindow(HWND edit) {
  if (!edit || !IsWindow(edit)) return;
  if (GetPropA(edit, kEditProcProperty)) return;  // guarded already
  // A Unicode procedure keeps the edit a Unicode window: an ANSI one would
  // get each typed character through a conversion that may lose it.
  auto previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(edit, GWLP_WNDPROC));
  SetPropA(edit, kEditProcProperty, reinterpret_cast<HANDLE>(previous));
  SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(LabelEditProc));
}

ScopedMenu PrepareTreeMenu(HWND tree, HTREEITEM node) {
  TaskForest* forest = TreeViewForest::FromWindow(tree);
  if (!forest) return ScopedMenu();
  TreeMenu prepared = MenuFor(*forest, NodeOf(node));
  if (!prepared.resource) return ScopedMenu();
  ScopedMenu menu(LoadMenuA(static_cast<HINSTANCE>(App().instance), prepared.resource));
  if (!menu) return menu;
  for (int command = kCmdNewTask; command <= kCmdRename; ++command)
    EnableMenuItem(menu.get(), command,
                   MF_BYCOMMAND | (IsGreyed(prepared, command) ? MF_GRAYED : MF_ENABLED));
  return menu;
}

void RepaintTree(HWND tree) {
  if (!tree) return;
  if (HBITMAP background = TreeBackground()) {
    if (ScopedDC dc = ScopedDC::ForWindow(tree)) {
      PaintControlTransparently(tree, background, PreviousTreeProc(), dc.get());
      dc.reset();
      // What was painted now need not be painted again.
      ValidateRect(tree, nullptr);
    }
    return;
  }
  RedrawWindow(tree, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void HideScrollBar(HWND tree, int bar, bool shown) {
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_RANGE;
  GetScrollInfo(tree, bar, &info);
  if (info.nMax == 0 || !shown) ShowScrollBar(tree, bar, FALSE);
  SCROLLINFO empty{};
  empty.cbSize = sizeof empty;
  SetScrollInfo(tree, bar, &empty, TRUE);
}

void RefreshScrollBars(HWND tree) {
  SCROLLINFO empty{};
  empty.cbSize = sizeof empty;
  SetScrollInfo(tree, SB_VERT, &empty, TRUE);
  SetScrollInfo(tree, SB_HORZ, &empty, TRUE);
  SendMessageA(tree, WM_NCPAINT, 1, 0);
}

void PanStart(HWND tree, int x) {
  gPanStartX = x;
  gPanStartPos = GetScrollPos(tree, SB_HORZ);
  SetCapture(tree);
}

void PanMove(HWND tree, int x) {
  if (gPanStartX == -1) return;
  SetScrollPos(tree, SB_HORZ, gPanStartPos + gPanStartX - x, TRUE);
  const int position = GetScrollPos(tree, SB_HORZ);
  SendMessageA(tree, WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, position), 0);
  InvalidateRect(tree, nullptr, TRUE);
  UpdateWindow(tree);
}

void PanEnd(HWND tree, int x) {
  if (gPanStartX != -1) {
    SetScrollPos(tree, SB_HORZ, gPanStartPos + gPanStartX - x, TRUE);
    const int position = GetScrollPos(tree, SB_HORZ);
    SendMessageA(tree, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, position), 0);
  }
  gPanStartX = -1;
  gPanStartPos = -1;
  // Only our own capture is given back: the control may hold one of its own.
  if (GetCapture() == tree) ReleaseCapture();
}

void PanCancel(HWND tree) {
  if (gPanStartX == -1) return;
  gPanStartX = -1;
  gPanStartPos = -1;
  if (GetCapture() == tree) ReleaseCapture();
}

LRESULT CALLBACK TreeWindowProc(HWND tree, UINT message, WPARAM wParam, LPARAM lParam) {
  TaskForest* forest = TreeViewForest::FromWindow(tree);
  switch (message) {
    case WM_SIZE:
    case WM_NCCALCSIZE:
      HideScrollBar(tree, SB_HORZ, App().hscroll != 0);
      HideScrollBar(tree, SB_VERT, App().vscroll != 0);
      break;
    case WM_PAINT:
      if (HBITMAP background = TreeBackground())
        return PaintControlTransparently(tree, background, PreviousTreeProc(), nullptr);
      break;
    case WM_ERASEBKGND:
      if (TreeBackground()) return 0;
      break;
    case WM_NCPAINT:
      if (!App().hscroll) ShowScrollBar(tree, SB_HORZ, FALSE);
      if (!App().vscroll) ShowScrollBar(tree, SB_VERT, FALSE);
      if (tree != static_cast<HWND>(App().currentView)) return 0;
      break;
    case WM_KEYDOWN:
      if (HoldKeyForTreeDrag(static_cast<UINT>(wParam))) return 0;
      if (forest) {
        const bool control = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
        if (HandleTreeKey(*forest, SelectedNode(*forest), static_cast<unsigned>(wParam), control)) return 0;
      }
      break;
    case WM_CHAR:
      // No search by typing, and Space never toggles a box by itself.
      return 0;
    case WM_COMMAND:
      if (reinterpret_cast<HMENU>(lParam) == gTrackedMenu && HIWORD(wParam) == 0 && gMenuTree == tree &&
          forest) {
        HTREEITEM target = gMenuTarget;
        gMenuTree = nullptr;
        gMenuTarget = nullptr;
        return DispatchTreeCommand(*forest, NodeOf(target), LOWORD(wParam));
      }
      break;
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (TreeBackground()) InvalidateRect(tree, nullptr, TRUE);
      break;
    case WM_MOUSEMOVE:
      // A pan whose release the tree never saw (a box took it) ends at the
      // first move without the button, instead of following the pointer.
      if (wParam & MK_LBUTTON)
        PanMove(tree, GET_X_LPARAM(lParam));
      else
        PanCancel(tree);
      break;
    case WM_LBUTTONDOWN:
      return OnLeftButtonDown(tree, forest, wParam, lParam);
    case WM_LBUTTONUP:
      PanEnd(tree, GET_X_LPARAM(lParam));
      break;
    case WM_LBUTTONDBLCLK:
      return OnDoubleClick(tree, forest, wParam, lParam);
    case WM_RBUTTONDOWN: {
      POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      UINT flags = 0;
      HTREEITEM item = HitTest(tree, point, &flags);
      SetFocus(tree);
      if (item) TreeView_SelectItem(tree, item);
      ShowTreeMenu(tree, item, point);
      return 0;
    }
    case WM_MOUSEWHEEL:
      OnWheel(tree, wParam);
      return 0;
    default:
      break;
  }
  return Default(tree, message, wParam, lParam);
}

// The drag's notification is read alike in both character sets.
static_assert(sizeof(NMTREEVIEWA) == sizeof(NMTREEVIEWW) &&
              offsetof(NMTREEVIEWA, itemNew.hItem) == offsetof(NMTREEVIEWW, itemNew.hItem) &&
              offsetof(NMTREEVIEWA, ptDrag) == offsetof(NMTREEVIEWW, ptDrag));

LRESULT OnTreeNotify(const NMHDR* header) {
  if (!header) return 0;
  TreeViewForest* forest = TreeViewForest::FromWindow(header->hwndFrom);
  if (!forest) return 0;
  switch (header->code) {
    case NM_CUSTOMDRAW:
      return OnTreeCustomDraw(reinterpret_cast<NMTVCUSTOMDRAW*>(const_cast<NMHDR*>(header)));
    case TVN_BEGINLABELEDITA:
    case TVN_BEGINLABELEDITW:
    case TVN_ENDLABELEDITA:
    case TVN_ENDLABELEDITW: {
      // The forest answers the control (and hears of each edit once); the
      // commands do the work.
      CommandListener listener(*forest);
      forest->SetListener(&listener);
      LRESULT answer = forest->OnNotify(header);
      forest->SetListener(nullptr);
      return answer;
    }
    case TVN_BEGINDRAGA:
    case TVN_BEGINDRAGW:
      // The drag in progress is kept by the drag itself; the control
      // ignores the answer.
      BeginTreeDrag(*reinterpret_cast<const NMTREEVIEWA*>(header));
      return 0;
    default:
      return 0;
  }
}
