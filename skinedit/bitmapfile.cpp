#include "skinedit/bitmapfile.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "skin/compose.h"
#include "skinedit/sheetmap.h"

BitmapFileResult ReadBitmapFile(SkinSource& file, SlotImage* image) {
  const uint64_t length = file.Remaining();
  if (length > kMaxSlotFileSize) return BitmapFileResult::kTooLarge;
  SlotImage read;
  if (!read.Allocate(static_cast<size_t>(length))) return BitmapFileResult::kOutOfMemory;
  if (file.Read(read.data(), read.size()) != read.size() ||
      CheckSlotFile(read.data(), read.size()) != SlotFileCheck::kFits)
    return BitmapFileResult::kNotWhole;
  *image = std::move(read);
  return BitmapFileResult::kRead;
}

const char* BitmapFileMessage(BitmapFileResult result) {
  switch (result) {
    case BitmapFileResult::kTooLarge:
      return "Error: Image size cannot exceed 1MB.";
    case BitmapFileResult::kOutOfMemory:
      return "Error: Out of memory.";
    case BitmapFileResult::kNotWhole:
      return "Error: Could not read entire file";
    case BitmapFileResult::kRead:
      break;
  }
  return nullptr;
}

BmpImage FitPreviewPicture(const BmpImage& picture, int boxWidth, int boxHeight, bool keyClear,
                           Pixel background) {
  BmpImage fitted;
  if (picture.width <= 0 || picture.height <= 0 || boxWidth <= 0 || boxHeight <= 0) return fitted;
  // The scale is min(1, boxWidth / width, boxHeight / height), kept exact
  // as a fraction.
  int64_t num = 1, den = 1;
  if (static_cast<int64_t>(boxWidth) * den < static_cast<int64_t>(picture.width) * num) {
    num = boxWidth;
    den = picture.width;
  }
  if (static_cast<int64_t>(boxHeight) * den < static_cast<int64_t>(picture.height) * num) {
    num = boxHeight;
    den = picture.height;
  }
  fitted.width = std::max<int>(1, static_cast<int>(picture.width * num / den));
  fitted.height = std::max<int>(1, static_cast<int>(picture.height * num / den));
  fitted.pixels.resize(static_cast<size_t>(fitted.width) * static_cast<size_t>(fitted.height));
  auto source = [&](int x, int y) {
    const Pixel p =
        picture.pixels[static_cast<size_t>(y) * static_cast<size_t>(picture.width) + x] & kPixelColourMask;
    return keyClear && p == kKeyPixel ? background : p;
  };
  for (int y = 0; y < fitted.height; ++y) {
    const int top = static_cast<int>(static_cast<int64_t>(y) * picture.height / fitted.height);
    const int bottom =
        std::max(top + 1, static_cast<int>(static_cast<int64_t>(y + 1) * picture.height / fitted.height));
    for (int x = 0; x < fitted.width; ++x) {
      const int left = static_cast<int>(static_cast<int64_t>(x) * picture.width / fitted.width);
      const int right =
          std::max(left + 1, static_cast<int>(static_cast<int64_t>(x + 1) * picture.width / fitted.width));
      uint64_t sum[3] = {0, 0, 0};
      for (int sy = top; sy < bottom; ++sy)
        for (int sx = left; sx < right; ++sx) {
          const Pixel p = source(sx, sy);
          sum[0] += (p >> 16) & 0xFF;
          sum[1] += (p >> 8) & 0xFF;
          sum[2] += p & 0xFF;
        }
      const uint64_t n = static_cast<uint64_t>(bottom - top) * static_cast<uint64_t>(right - left);
      auto channel = [&](int c) { return static_cast<Pixel>((sum[c] + n / 2) / n); };
      fitted.pixels[static_cast<size_t>(y) * static_cast<size_t>(fitted.width) + x] =
          channel(0) << 16 | channel(1) << 8 | channel(2);
    }
  }
  if (!keyClear) return fitted;
  // The whole box, the picture in its middle: what shows around it is the
  // colour of its clear parts, whatever the control fills its box with.
  BmpImage box;
  box.width = boxWidth;
  box.height = boxHeight;
  box.pixels.assign(static_cast<size_t>(boxWidth) * static_cast<size_t>(boxHeight), background);
  const int left = (boxWidth - fitted.width) / 2;
  const int top = (boxHeight - fitted.height) / 2;
  for (int y = 0; y < fitted.height; ++y)
    std::copy_n(fitted.pixels.begin() + static_cast<ptrdiff_t>(y) * fitted.width, fitted.width,
                box.pixels.begin() + static_cast<ptrdiff_t>(top + y) * boxWidth + left);
  return box;
}

bool PreviewShowsCheckBox(int previewId) {
  return previewId == kSlotMap[kSlotCheckEmpty].control || previewId == kSlotMap[kSlotCheckChecked].control;
}
