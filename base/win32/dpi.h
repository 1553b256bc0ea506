// The dots per inch a window is drawn at: its monitor's where the system
// can say (Windows 8.1 and 10), the system's otherwise. The newer calls are
// looked up at run time, so the program still starts on Windows 7.
#pragma once

#include <windows.h>

#include "base/win32/scoped.h"

// The system DPI (the primary monitor's at logon), kBaseDpi if unknown.
int SystemDpi();
// The DPI of the monitor `window` is on; a null window answers SystemDpi().
int WindowDpi(HWND window);
// A font of `height` pixels at 96 DPI, made for `dpi`; the caller owns it.
HFONT CreateScaledFont(int height, int weight, DWORD quality, int dpi);
// A font of the program's, shared by the controls that show it, made for
// one DPI at a time. The font a DPI change replaces is kept until the next
// change, so that a control not yet given the new one never holds a
// deleted font; both are released with the owner.
class ScaledFont {
 public:
  ScaledFont(int height, int weight, DWORD quality) : height_(height), weight_(weight), quality_(quality) {}
  // The font for `dpi`, made when there is none for it yet; none when it
  // cannot be made.
  HFONT For(int dpi);
  // Gives `control` the font for `dpi`; false when there is none.
  bool Apply(HWND control, int dpi);

 private:
  int height_;
  int weight_;
  DWORD quality_;
  int dpi_ = 0;
  ScopedGdiObject<HFONT> current_;
  ScopedGdiObject<HFONT> previous_;
};
// A new bitmap of `width` x `height` for the display holding `source`
// stretched: pixel for pixel repeated (nearest neighbour) when the sides
// grow by whole multiples, so pixel art stays sharp, smoothed (HALFTONE)
// otherwise. None when `source` is none or cannot be read.
HBITMAP StretchedBitmap(HBITMAP source, int width, int height);
