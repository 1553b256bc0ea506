// The trees' check-box state images, from the program's own bitmaps or a
// skin's.
#pragma once

#include <windows.h>

#include <commctrl.h>

// The side of a check box's cell at 96 DPI.
constexpr int kCheckBoxSide = 16;

// The check-box state images: `side` x `side` (kCheckBoxSide at 96 DPI; the
// bitmaps grown in the same proportion), 24-bit, no mask, room for 3 and
// growing by 3; the empty box twice (state 0 is never shown, state 1 is
// unchecked) then the checked box. The list copies the pixels: the caller
// keeps its bitmaps. None when either bitmap is missing or the list cannot
// be made.
HIMAGELIST MakeCheckBoxImages(HBITMAP empty, HBITMAP checked, int side);
