// A 32-bit top-down DIB selected into its own memory DC, for tests that let
// a control paint and then read its pixels.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstring>

#include <gtest/gtest.h>

#include "base/win32/scoped.h"
#include "skin/win32/transparent.h"

class PixelCanvas {
 public:
  PixelCanvas(int width, int height, uint32_t fill) : width_(width), height_(height) {
    BITMAPINFO info = TopDown32(width, height);
    void* bits = nullptr;
    bitmap_.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    bits_ = static_cast<uint32_t*>(bits);
    dc_ = ScopedDC::Compatible(nullptr);
    if (bitmap_ && dc_) previous_ = SelectObject(dc_.get(), bitmap_.get());
    Fill(fill);
  }
  ~PixelCanvas() {
    if (previous_) SelectObject(dc_.get(), previous_);
  }
  PixelCanvas(const PixelCanvas&) = delete;
  PixelCanvas& operator=(const PixelCanvas&) = delete;

  bool ok() const { return bits_ && dc_ && previous_; }
  int width() const { return width_; }
  int height() const { return height_; }
  HDC dc() const { return dc_.get(); }
  HBITMAP bitmap() const { return bitmap_.get(); }
  void Fill(uint32_t pixel) {
    if (!bits_) return;
    for (int i = 0; i < width_ * height_; ++i) bits_[i] = pixel;
  }
  // 0x00RRGGBB, the top byte dropped.
  uint32_t At(int x, int y) const {
    GdiFlush();
    return bits_[y * width_ + x] & 0x00FFFFFF;
  }
  void Set(int x, int y, uint32_t pixel) { bits_[y * width_ + x] = pixel; }

 private:
  int width_;
  int height_;
  ScopedGdiObject<HBITMAP> bitmap_;
  ScopedDC dc_;
  HGDIOBJ previous_ = nullptr;
  uint32_t* bits_ = nullptr;
};

inline uint32_t TestBackgroundPixel(int x, int y) {
  // Odd steps: distinct for every x (and y) below 256.
  const uint32_t red = static_cast<uint32_t>(x * 37 + 11) & 0xFF;
  const uint32_t green = static_cast<uint32_t>(y * 53 + 29) & 0xFF;
  return red << 16 | green << 8 | 0x07;
}

// A small background of distinct colours (TestBackgroundPixel), none of
// them the key colour.
inline ScopedGdiObject<HBITMAP> MakeTestBackground(int width, int height) {
  BITMAPINFO info = TopDown32(width, height);
  void* bits = nullptr;
  ScopedGdiObject<HBITMAP> bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bits) return bitmap;
  auto* pixels = static_cast<uint32_t*>(bits);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) pixels[y * width + x] = TestBackgroundPixel(x, y);
  GdiFlush();
  return bitmap;
}

// Compares a control's composed picture with its plain one: where the plain
// picture has the key colour, the composed one must show the test
// background (tiled from the corner, `tileWidth` x `tileHeight`); anywhere
// else it must be unchanged. Counts both kinds of pixel; stops at the
// first wrong one.
struct ComposedCounts {
  int clear = 0;
  int drawn = 0;
};
inline ComposedCounts CheckComposed(const PixelCanvas& plain, const PixelCanvas& composed, uint32_t key,
                                    int tileWidth, int tileHeight) {
  ComposedCounts counts;
  for (int y = 0; y < plain.height(); ++y)
    for (int x = 0; x < plain.width(); ++x) {
      const uint32_t own = plain.At(x, y);
      const uint32_t want = own == key ? TestBackgroundPixel(x % tileWidth, y % tileHeight) : own;
      ++(own == key ? counts.clear : counts.drawn);
      if (composed.At(x, y) != want) {
        ADD_FAILURE() << "pixel " << x << ", " << y << ": " << std::hex << composed.At(x, y) << " for "
                      << want;
        return counts;
      }
    }
  return counts;
}
