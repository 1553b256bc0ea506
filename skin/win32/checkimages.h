// The trees' check-box state images, from the program's own bitmaps or a
// skin's.
#pragma once

#include <windows.h>

#include <commctrl.h>

// The check-box state images: 16 x 16, 24-bit, no mask, room for 3 and
// growing by 3; the empty box twice (state 0 is never shown, state 1 is
// unchecked) then the checked box. The list copies the pixels: the caller
// keeps its bitmaps. None when either bitmap is missing or the list cannot
// be made.
HIMAGELIST MakeCheckBoxImages(HBITMAP empty, HBITMAP checked);
