// Windows bitmap (.bmp) files as a skin's slots hold them: where the parts
// of one lie, every part checked against the bytes there are, and a decoder
// of the uncompressed forms into 32-bit pixels.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "skin/compose.h"

// Compression values of the info header.
enum : uint32_t {
  kBmpRgb = 0,
  kBmpRle8 = 1,
  kBmpRle4 = 2,
  kBmpBitFields = 3,
  kBmpAlphaBitFields = 6,
};

// The largest picture taken, in pixels: far beyond any window's, and it
// keeps a compressed picture from asking for gigabytes.
constexpr uint64_t kMaxBmpPixels = 1u << 26;

// Where the parts of a .bmp file lie, as offsets from its first byte.
struct BmpLayout {
  size_t infoOffset;    // the info header: always 14
  uint32_t headerSize;  // 12 (OS/2 core header), 40, 52, 56, 108 or 124
  int32_t width;
  int32_t height;  // rows; positive
  bool topDown;    // the first row in the file is the top one
  uint16_t bitCount;
  uint32_t compression;
  // Red, green, blue and alpha masks of 16- and 32-bit pixels (the
  // defaults of the depth without bit fields); none for other depths.
  uint32_t masks[4];
  size_t colourTableOffset;
  uint32_t colourCount;    // colour table entries a pixel may index
  size_t colourEntrySize;  // 4, or 3 after a core header
  size_t infoSize;         // header, masks and colour table: the bitmap information
  size_t bitsOffset;
  size_t bitsSize;  // rows x stride, or the compressed size
  size_t stride;    // bytes a row, a multiple of 4
};

// Reads and checks the headers of the .bmp file in `data`: "BM", a header
// size the system knows, one plane, a depth and compression that go
// together, a size within kMaxBmpPixels, and the header, the masks, the
// colour table and the pixel bits all inside the `size` bytes. 1 and
// `layout` filled when every check passes; 0 otherwise.
int ParseBmp(const uint8_t* data, size_t size, BmpLayout* layout);

// A decoded picture: rows top to bottom, 0x00RRGGBB.
struct BmpImage {
  int width = 0;
  int height = 0;
  std::vector<Pixel> pixels;
};

// Decodes an uncompressed .bmp file of any depth (1, 4, 8, 16, 24, 32 bits,
// with colour table or bit fields, bottom-up or top-down). A palette index
// beyond the colour table gives black; alpha is dropped. 0 for anything
// ParseBmp refuses and for compressed pixels.
int DecodeBmp(const uint8_t* data, size_t size, BmpImage* image);
