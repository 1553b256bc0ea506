// The three task-tree windows: creating them, their images and fonts, and
// the expand boxes drawn over the control's own painting.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "tree/tasktree.h"

// A "SysTreeView32" child filling the main window's client area, with
// label editing, without tooltips, with check boxes for the Lists tree;
// background the key colour, its own "MS Sans Serif" font. The tree is
// subclassed with treeProc, or with DefaultTreeProc when none is given.
// None when the window cannot be made.
HWND CreateTaskTree(HINSTANCE instance, HWND mainWindow, bool checkBoxes, WNDPROC treeProc = nullptr);

// The control's own procedure, saved when the first tree was subclassed;
// the same for all three trees. Subclass procedures end by calling it.
WNDPROC PreviousTreeProc();
// The subclass procedure for a tree that needs nothing of its own.
LRESULT CALLBACK DefaultTreeProc(HWND tree, UINT message, WPARAM wParam, LPARAM lParam);

// Gives the tree its own "MS Sans Serif" for `dpi`, deleting the one it had,
// and rows as high as a check box at that scale.
void ScaleTreeFont(HWND tree, int dpi);
// The program's own check-box state images for `dpi`; the caller owns them.
HIMAGELIST MakeDefaultCheckImages(int dpi);

// Gives the tree the shared normal image list (1 x 1, no images) and, when
// it has check boxes, the default check-box list as its state images; the
// lists are made on first need. 0 when a list could not be made.
int AttachTreeImages(HWND tree);

// Where the expand box of `item` goes, for the tree's DPI and check boxes.
ExpandBox ExpandBoxOf(HWND tree, HTREEITEM item);
// Paints `box`: its square in `lineColor`, its sign in `textColor`, lines
// `box.pen` pixels thick with square ends.
void PaintExpandBox(HDC dc, const ExpandBox& box, COLORREF lineColor, COLORREF textColor);

// NM_CUSTOMDRAW from a tree: asks for every item's post-paint and then
// draws the expand box of a node below the top level that has children.
LRESULT OnTreeCustomDraw(NMTVCUSTOMDRAW* draw);

// Destroys a tree made by CreateTaskTree (the trees share their font). The
// program's trees live until it ends; tests make and drop many.
void DestroyTaskTree(HWND tree);
