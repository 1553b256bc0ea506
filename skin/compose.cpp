#include "skin/compose.h"

#include <algorithm>
#include <cstddef>

namespace {

bool Sane(const Pixel* pixels, int width, int height, int stride) {
  return pixels && width >= 0 && height >= 0 && stride >= width;
}

// x mod n for n > 0, never negative.
int Wrap(int x, int n) {
  int r = x % n;
  return r < 0 ? r + n : r;
}

}  // namespace

int ComposeOverBackground(const ConstPixelImage& control, const ConstPixelImage& background, int offsetX,
                          int offsetY, Pixel key, const PixelImage& out) {
  if (!Sane(control.pixels, control.width, control.height, control.stride)) return 0;
  if (!Sane(background.pixels, background.width, background.height, background.stride)) return 0;
  if (background.width == 0 || background.height == 0) return 0;
  if (!Sane(out.pixels, out.width, out.height, out.stride)) return 0;
  if (out.width < control.width || out.height < control.height) return 0;

  const Pixel wanted = key & kPixelColourMask;
  const int firstColumn = Wrap(offsetX, background.width);
  int by = Wrap(offsetY, background.height);
  for (int y = 0; y < control.height; ++y) {
    const Pixel* from = control.pixels + static_cast<std::ptrdiff_t>(y) * control.stride;
    const Pixel* tile = background.pixels + static_cast<std::ptrdiff_t>(by) * background.stride;
    Pixel* to = out.pixels + static_cast<std::ptrdiff_t>(y) * out.stride;
    // In runs that stay within one tile, so that the inner loop is a plain
    // select the compiler can vectorise.
    for (int x = 0, bx = firstColumn; x < control.width; bx = 0) {
      const int run = std::min(control.width - x, background.width - bx);
      const Pixel* drawn = from + x;
      const Pixel* shown = tile + bx;
      Pixel* result = to + x;
      for (int i = 0; i < run; ++i) result[i] = (drawn[i] & kPixelColourMask) == wanted ? shown[i] : drawn[i];
      x += run;
    }
    if (++by == background.height) by = 0;
  }
  return 1;
}
