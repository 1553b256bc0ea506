// The dots per inch a window is drawn at: its monitor's where the system
// can say (Windows 8.1 and 10), the system's otherwise. The newer calls are
// looked up at run time, so the program still starts on Windows 7.
#pragma once

#include <windows.h>

// The system DPI (the primary monitor's at logon), kBaseDpi if unknown.
int SystemDpi();
// The DPI of the monitor `window` is on; a null window answers SystemDpi().
int WindowDpi(HWND window);
// A font of `height` pixels at 96 DPI, made for `dpi`; the caller owns it.
HFONT CreateScaledFont(int height, int weight, DWORD quality, int dpi);
// Gives `control` the font `font` and deletes the one it had, which must
// have been the program's own (or a stock font, which deleting leaves be).
void ReplaceOwnFont(HWND control, HFONT font);
// A new bitmap of `width` x `height` for the display holding `source`
// stretched: pixel for pixel repeated (nearest neighbour) when the sides
// grow by whole multiples, so pixel art stays sharp, smoothed (HALFTONE)
// otherwise. None when `source` is none or cannot be read.
HBITMAP StretchedBitmap(HBITMAP source, int width, int height);
