// The window procedure in front of the three task trees' control: keys,
// clicks, pop-up menus, painting and scroll bars, and the tree
// notifications the main window hands on.
#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include "base/win32/scoped.h"

// The subclass procedure of all three trees (give it to CreateTaskTree).
LRESULT CALLBACK TreeWindowProc(HWND tree, UINT message, WPARAM wParam, LPARAM lParam);
// Every tree WM_NOTIFY the main window receives.
LRESULT OnTreeNotify(const NMHDR* header);

// Paints the tree at once over the tree background.
void RepaintTree(HWND tree);
// Redraws both scroll bars and hides those the options switch off.
void RefreshScrollBars(HWND tree);
// SB_HORZ or SB_VERT: hidden when not shown or when there is nothing to
// scroll.
void HideScrollBar(HWND tree, int bar, bool shown);

// Subclasses a label edit so that "<" and ">" never reach it (the Win32
// TreeHost's GuardLabelEdit).
void GuardLabelEditWindow(HWND edit);

// The pop-up menu for a right click on the tree over `node` (none: empty
// space), loaded from the program's resources and greyed as the commands
// say; the caller tracks its first submenu. None when the tree has no menu
// there.
ScopedMenu PrepareTreeMenu(HWND tree, HTREEITEM node);

// Dragging over empty space pans the tree sideways.
void PanStart(HWND tree, int x);
void PanMove(HWND tree, int x);
void PanEnd(HWND tree, int x);
// Ends a pan where it stands, scrolling no more.
void PanCancel(HWND tree);
