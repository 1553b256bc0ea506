#include "skin/bmp.h"

#include <algorithm>

#include "skin/skinfile.h"

namespace {

constexpr size_t kFileHeaderSize = 14;

uint16_t U16(const uint8_t* at) {
  return static_cast<uint16_t>(at[0] | at[1] << 8);
}

bool KnownHeaderSize(uint32_t size) {
  // The OS/2 core header, BITMAPINFOHEADER and its V2 to V5 successors.
  return size == 12 || size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

bool KnownDepth(uint16_t bits) {
  return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

// Whether [offset, offset + length) lies within `size` bytes.
bool Inside(uint64_t offset, uint64_t length, size_t size) {
  return offset <= size && length <= size - offset;
}

int ParseCoreHeader(const uint8_t* info, BmpLayout* layout) {
  layout->width = U16(info + 4);
  layout->height = U16(info + 6);
  if (U16(info + 8) != 1) return 0;
  layout->bitCount = U16(info + 10);
  if (!KnownDepth(layout->bitCount) || layout->bitCount == 16 || layout->bitCount == 32) return 0;
  layout->topDown = false;
  layout->compression = kBmpRgb;
  layout->colourEntrySize = 3;
  layout->colourCount = layout->bitCount <= 8 ? 1u << layout->bitCount : 0;
  layout->colourTableOffset = kFileHeaderSize + 12;
  return 1;
}

void SetMasks(BmpLayout* layout, uint32_t red, uint32_t green, uint32_t blue) {
  layout->masks[0] = red;
  layout->masks[1] = green;
  layout->masks[2] = blue;
}

// Fills the masks and answers the bytes that follow the header before the
// colour table (masks a 40-byte header keeps there), or -1 when the depth
// and compression do not go together.
int ParseCompression(const uint8_t* info, BmpLayout* layout) {
  const uint16_t bits = layout->bitCount;
  switch (layout->compression) {
    case kBmpRgb:
      if (bits == 16) SetMasks(layout, 0x7C00, 0x03E0, 0x001F);  // 5-5-5
      if (bits == 32) SetMasks(layout, 0xFF0000, 0xFF00, 0xFF);
      return 0;
    case kBmpRle8:
    case kBmpRle4:
      // Compressed rows are bottom-up only.
      if (layout->topDown || bits != (layout->compression == kBmpRle8 ? 8 : 4)) return -1;
      return 0;
    case kBmpBitFields:
    case kBmpAlphaBitFields: {
      if (bits != 16 && bits != 32) return -1;
      // The masks follow the 40-byte fields: inside a V2 header or later,
      // after the header itself otherwise (the caller has checked that
      // they are there).
      const int count = layout->compression == kBmpAlphaBitFields ? 4 : 3;
      for (int i = 0; i < count; ++i) layout->masks[i] = ReadU32(info + 40 + 4 * i);
      const int end = 40 + 4 * count;
      return end > static_cast<int>(layout->headerSize) ? end - static_cast<int>(layout->headerSize) : 0;
    }
    default:
      return -1;  // JPEG, PNG and anything unknown
  }
}

int ParseInfoHeader(const uint8_t* info, size_t size, BmpLayout* layout) {
  layout->width = static_cast<int32_t>(ReadU32(info + 4));
  const int32_t height = static_cast<int32_t>(ReadU32(info + 8));
  if (height == INT32_MIN) return 0;
  layout->topDown = height < 0;
  layout->height = height < 0 ? -height : height;
  if (U16(info + 12) != 1) return 0;
  layout->bitCount = U16(info + 14);
  if (!KnownDepth(layout->bitCount)) return 0;
  layout->compression = ReadU32(info + 16);
  const uint32_t masks = layout->compression == kBmpAlphaBitFields ? 4
                         : layout->compression == kBmpBitFields    ? 3
                                                                   : 0;
  if (!Inside(kFileHeaderSize, 40 + 4 * masks, size)) return 0;
  const int extra = ParseCompression(info, layout);
  if (extra < 0) return 0;
  layout->colourEntrySize = 4;
  layout->colourTableOffset = kFileHeaderSize + layout->headerSize + static_cast<size_t>(extra);
  const uint32_t used = ReadU32(info + 32);
  if (layout->bitCount <= 8) {
    const uint32_t most = 1u << layout->bitCount;
    layout->colourCount = used == 0 || used > most ? most : used;
  } else {
    // A table beside direct colours is only a hint for palette displays;
    // it must still lie within the file.
    layout->colourCount = 0;
    if (!Inside(layout->colourTableOffset, 4ull * used, size)) return 0;
    layout->infoSize = layout->colourTableOffset + 4ull * used - kFileHeaderSize;
  }
  if (layout->compression == kBmpRle8 || layout->compression == kBmpRle4) {
    layout->bitsSize = ReadU32(info + 20);
    if (layout->bitsSize == 0) return 0;
  }
  return 1;
}

// The 8-bit form of a `bits`-wide field: its bits repeated downwards, so
// that all ones stays all ones (5 bits: v << 3 | v >> 2).
uint32_t Widen(uint32_t value, int bits) {
  if (bits <= 0) return 0;
  if (bits >= 8) return value >> (bits - 8);
  uint32_t out = 0;
  int filled = 0;
  while (filled < 8) {
    out = out << bits | value;
    filled += bits;
  }
  return (out >> (filled - 8)) & 0xFF;
}

struct Field {
  int shift;
  int bits;
};

Field FieldOf(uint32_t mask) {
  if (!mask) return {0, 0};
  int shift = 0;
  while (!(mask >> shift & 1)) ++shift;
  int bits = 0;
  while (shift + bits < 32 && (mask >> (shift + bits))) ++bits;
  return {shift, bits};
}

Pixel FromMasks(uint32_t value, const BmpLayout& layout, const Field* fields) {
  Pixel pixel = 0;
  for (int c = 0; c < 3; ++c) {
    const uint32_t raw = (value & layout.masks[c]) >> fields[c].shift;
    pixel = pixel << 8 | Widen(raw, fields[c].bits);
  }
  return pixel;
}

}  // namespace

int ParseBmp(const uint8_t* data, size_t size, BmpLayout* layout) {
  if (!data || !layout || size < kFileHeaderSize + 4) return 0;
  if (data[0] != 'B' || data[1] != 'M') return 0;
  BmpLayout parsed = {};
  parsed.infoOffset = kFileHeaderSize;
  parsed.headerSize = ReadU32(data + kFileHeaderSize);
  if (!KnownHeaderSize(parsed.headerSize) || !Inside(kFileHeaderSize, parsed.headerSize, size)) return 0;
  const uint8_t* info = data + kFileHeaderSize;
  if (!(parsed.headerSize == 12 ? ParseCoreHeader(info, &parsed) : ParseInfoHeader(info, size, &parsed)))
    return 0;
  if (parsed.width <= 0 || parsed.height <= 0) return 0;
  if (static_cast<uint64_t>(parsed.width) * static_cast<uint64_t>(parsed.height) > kMaxBmpPixels) return 0;
  const uint64_t table = static_cast<uint64_t>(parsed.colourCount) * parsed.colourEntrySize;
  if (!Inside(parsed.colourTableOffset, table, size)) return 0;
  parsed.infoSize = std::max<size_t>(parsed.infoSize, parsed.colourTableOffset + table - kFileHeaderSize);

  const uint64_t stride = (static_cast<uint64_t>(parsed.width) * parsed.bitCount + 31) / 32 * 4;
  parsed.stride = static_cast<size_t>(stride);
  if (parsed.compression != kBmpRle8 && parsed.compression != kBmpRle4)
    parsed.bitsSize = static_cast<size_t>(stride * static_cast<uint64_t>(parsed.height));
  parsed.bitsOffset = ReadU32(data + 10);
  if (!Inside(parsed.bitsOffset, parsed.bitsSize, size)) return 0;
  *layout = parsed;
  return 1;
}

int DecodeBmp(const uint8_t* data, size_t size, BmpImage* image) {
  BmpLayout layout;
  if (!image || !ParseBmp(data, size, &layout)) return 0;
  if (layout.compression == kBmpRle8 || layout.compression == kBmpRle4) return 0;

  std::vector<Pixel> palette(layout.bitCount <= 8 ? 1u << layout.bitCount : 0, 0);  // black beyond the table
  for (uint32_t i = 0; i < layout.colourCount; ++i) {
    const uint8_t* entry = data + layout.colourTableOffset + i * layout.colourEntrySize;
    palette[i] = static_cast<Pixel>(entry[2]) << 16 | static_cast<Pixel>(entry[1]) << 8 | entry[0];
  }
  const Field fields[3] = {FieldOf(layout.masks[0]), FieldOf(layout.masks[1]), FieldOf(layout.masks[2])};
  const bool directRgb32 = layout.bitCount == 32 && layout.compression == kBmpRgb;

  const int width = layout.width;
  const int height = layout.height;
  std::vector<Pixel> pixels(static_cast<size_t>(width) * static_cast<size_t>(height));
  for (int y = 0; y < height; ++y) {
    const int fileRow = layout.topDown ? y : height - 1 - y;
    const uint8_t* row = data + layout.bitsOffset + static_cast<size_t>(fileRow) * layout.stride;
    Pixel* out = pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(width);
    for (int x = 0; x < width; ++x) {
      switch (layout.bitCount) {
        case 1:
        case 4:
        case 8: {
          // Pixels fill each byte from its high bits down.
          const int bits = layout.bitCount;
          const int perByte = 8 / bits;
          const uint8_t byte = row[x / perByte];
          const int shift = 8 - bits * (x % perByte + 1);
          out[x] = palette[(byte >> shift) & ((1 << bits) - 1)];
          break;
        }
        case 16:
          out[x] = FromMasks(U16(row + 2 * x), layout, fields);
          break;
        case 24: {
          const uint8_t* p = row + 3 * x;
          out[x] = static_cast<Pixel>(p[2]) << 16 | static_cast<Pixel>(p[1]) << 8 | p[0];
          break;
        }
        default: {
          const uint32_t value = ReadU32(row + 4 * x);
          out[x] = directRgb32 ? value & kPixelColourMask : FromMasks(value, layout, fields);
          break;
        }
      }
    }
  }
  image->width = width;
  image->height = height;
  image->pixels = std::move(pixels);
  return 1;
}
