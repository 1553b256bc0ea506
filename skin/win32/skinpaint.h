// Painting the skinned window: its background bitmap and its five buttons
// in their normal, hover and selected pictures. (The trees and the
// calendar paint themselves over the tiled background: transparent.h.)
#pragma once

#include <windows.h>

// Paint skinned window: the answer to the main window's WM_PAINT in the
// skinned look. 0, painting nothing, when the look is plain (the window
// then paints the ordinary way); otherwise what EndPaint answers.
LRESULT PaintSkinnedWindow(HWND main);
// Paint buttons on `dc` (the window's): each button's normal picture, then
// the hover and the selected one. Nothing unless skinned.
void PaintButtons(HDC dc);

// Select button for tab: while skinned, the button of tab `tab` becomes the
// selected one and the buttons are repainted, unless it already was.
void SelectButtonForTab(HWND main, int tab);
// Set hover: the button under the pointer (-1: none); the buttons are
// repainted when it changes.
void SetHover(HWND main, int button);
// Clear hover: no button under the pointer; the buttons are repainted.
void ClearHover(HWND main);
