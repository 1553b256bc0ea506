// The per-pixel rule behind painting a tree or the calendar over the skin's
// tiled background: wherever the control drew the key colour, the
// background shows through. Works on plain pixel buffers so that the Win32
// painter can hand it the bits of its DIB sections, and tests can check it
// without a display.
#pragma once

#include <cstdint>

#include "base/platform.h"

// One pixel of a 32-bit top-down DIB section: 0x00RRGGBB (blue in the low
// byte). The top byte is not part of the colour: GDI leaves it undefined, so
// comparisons ignore it and copies keep it as found.
using Pixel = uint32_t;
constexpr Pixel kPixelColourMask = 0x00FFFFFF;

// A COLORREF (0x00BBGGRR) as a DIB pixel.
constexpr Pixel PixelFromColor(Color color) {
  return ((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF);
}
constexpr Pixel kKeyPixel = PixelFromColor(kKeyColor);  // 0x00FA32FA

// Rows of pixels in memory. `stride` is the distance from one row to the
// next, in pixels (at least `width`).
struct PixelImage {
  Pixel* pixels;
  int width;
  int height;
  int stride;
};
struct ConstPixelImage {
  const Pixel* pixels;
  int width;
  int height;
  int stride;
};

// Composes `control` (the control's off-screen rendering) over `background`
// tiled from the control's top-left corner into `out`, which must be at
// least as large as the control: each pixel whose colour equals `key` takes
// the background pixel ((x + offsetX) mod background width,
// (y + offsetY) mod background height), every other pixel keeps the
// control's. The offset shifts the tiling, for a painter that composes only
// part of a control or anchors the tiles elsewhere; 0, 0 anchors them at
// the control's corner. Negative offsets wrap the same way.
//
// `out` may be `control` itself (same buffer and stride). One pass over the
// pixels. Returns 0, touching nothing, when an image is missing or its
// sizes make no sense (an empty background, a stride shorter than a row).
int ComposeOverBackground(const ConstPixelImage& control, const ConstPixelImage& background, int offsetX,
                          int offsetY, Pixel key, const PixelImage& out);
