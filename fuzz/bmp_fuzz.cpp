// Arbitrary bytes as a .bmp file. When the layout is accepted, everything
// it names lies within the bytes; an uncompressed picture then decodes to
// exactly width x height pixels.
#include <cstdint>
#include <cstdlib>

#include "skin/bmp.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  BmpLayout layout;
  const bool laidOut = ParseBmp(data, size, &layout) == 1;
  BmpImage image;
  const bool decoded = DecodeBmp(data, size, &image) == 1;
  if (!laidOut) {
    if (decoded) abort();
    return 0;
  }
  if (layout.infoOffset + layout.infoSize > size) abort();
  if (layout.bitsOffset > size || layout.bitsSize > size - layout.bitsOffset) abort();
  if (layout.colourTableOffset + static_cast<uint64_t>(layout.colourCount) * layout.colourEntrySize > size)
    abort();
  const bool compressed = layout.compression == kBmpRle8 || layout.compression == kBmpRle4;
  if (decoded == compressed) abort();
  if (decoded &&
      (image.width != layout.width || image.height != layout.height ||
       image.pixels.size() != static_cast<size_t>(layout.width) * static_cast<size_t>(layout.height)))
    abort();
  return 0;
}
