// Painting a control over the skin's tiled background: the control paints
// itself off-screen on its key colour, the key colour is replaced by the
// background, and the finished picture reaches the screen in one copy, so
// nothing flickers.
#pragma once

#include <windows.h>

// Paints `control` through its previous window procedure `previous`, with
// `background` tiled from the control's top-left corner where it painted
// the key colour. `target` null: answers WM_PAINT (BeginPaint/EndPaint);
// otherwise paints into `target` (WM_PRINTCLIENT). Returns 0.
LRESULT PaintControlTransparently(HWND control, HBITMAP background, WNDPROC previous, HDC target);

// A 32-bit top-down DIB: its pixels are the plain 0x00RRGGBB rows the
// composing works on.
BITMAPINFO TopDown32(int width, int height);
