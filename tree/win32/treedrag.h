// Dragging a task with its subtree in the Lists or Active tree: the drag
// image, the drop-target mark, scrolling near the edges and the drop. The
// window the tree notifies (the main window) holds the mouse capture while
// a drag lasts and hands its mouse messages, timers and capture changes here.
#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

// The scroll timers on the window that holds the capture, one line each
// tick.
constexpr UINT_PTR kDragScrollUpTimer = 3;
constexpr UINT_PTR kDragScrollDownTimer = 4;
constexpr UINT kDragScrollInterval = 100;

// TVN_BEGINDRAG: starts dragging the notification's node, unless the tree
// is Done. The dragged node, or none.
HTREEITEM BeginTreeDrag(const NMTREEVIEWA& notification);
bool TreeDragInProgress();

// WM_MOUSEMOVE and WM_LBUTTONUP of the capturing window during a drag, the
// point in that window's client coordinates. Both answer 0.
LRESULT UpdateTreeDrag(POINT point);
LRESULT DropTreeDrag(POINT point);
// Ends the drag without moving anything; the tree's selection comes back.
LRESULT CancelTreeDrag();

// WM_TIMER of the capturing window: true when it was a scroll timer.
bool OnTreeDragTimer(UINT_PTR timer);
// WM_CAPTURECHANGED of the capturing window: a drag whose capture went to
// another window (a message box, another program) ends, moving nothing.
void OnTreeDragCaptureChanged(HWND gaining);
// A key pressed during a drag: Escape cancels it, and every other key is
// held back, so that no command changes the trees under the drag. True
// when a drag was in progress (the key is then handled).
bool HoldKeyForTreeDrag(UINT key);
