// .bmp files of any header, depth and row order, built from a rule that
// gives each pixel's raw value, for the decoder's tests (natively and
// against the system's decoder under Wine) and the skin tests.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct BmpRecipe {
  uint32_t headerSize = 40;  // 12, 40, 52, 56, 108 or 124
  int width = 1;
  int height = 1;  // negative: top-down
  int bitCount = 24;
  uint32_t compression = 0;
  std::vector<uint32_t> palette;  // 0x00RRGGBB, written as the colour table
  uint32_t coloursUsed = 0;       // written as is
  uint32_t masks[4] = {};         // written for bit fields (compression 3 or 6)
};

inline void AppendU16(std::string& out, uint32_t value) {
  out.push_back(static_cast<char>(value & 0xFF));
  out.push_back(static_cast<char>(value >> 8 & 0xFF));
}
inline void AppendU32(std::string& out, uint32_t value) {
  AppendU16(out, value & 0xFFFF);
  AppendU16(out, value >> 16);
}

// `raw(x, y)`, y counted from the top, is a palette index (up to 8 bits), a
// 16-bit value, 0x00RRGGBB (24 bits) or a 32-bit value.
inline std::string BuildBmp(const BmpRecipe& recipe, const std::function<uint32_t(int, int)>& raw) {
  const bool core = recipe.headerSize == 12;
  const bool fields = recipe.compression == 3 || recipe.compression == 6;
  const int maskCount = recipe.compression == 6 ? 4 : 3;
  const int rows = recipe.height < 0 ? -recipe.height : recipe.height;
  const size_t stride = (static_cast<size_t>(recipe.width) * recipe.bitCount + 31) / 32 * 4;

  std::string info;
  AppendU32(info, recipe.headerSize);
  if (core) {
    AppendU16(info, static_cast<uint32_t>(recipe.width));
    AppendU16(info, static_cast<uint32_t>(recipe.height));
    AppendU16(info, 1);
    AppendU16(info, static_cast<uint32_t>(recipe.bitCount));
  } else {
    AppendU32(info, static_cast<uint32_t>(recipe.width));
    AppendU32(info, static_cast<uint32_t>(recipe.height));
    AppendU16(info, 1);
    AppendU16(info, static_cast<uint32_t>(recipe.bitCount));
    AppendU32(info, recipe.compression);
    AppendU32(info, static_cast<uint32_t>(stride * rows));
    AppendU32(info, 2835);
    AppendU32(info, 2835);
    AppendU32(info, recipe.coloursUsed);
    AppendU32(info, 0);
    // The masks of V2 and later headers; the rest of a V4 or V5 header
    // (colour space, gamma, intent) stays zero.
    for (int i = 0; info.size() < recipe.headerSize; ++i) AppendU32(info, i < 4 ? recipe.masks[i] : 0);
    if (fields && recipe.headerSize == 40)
      for (int i = 0; i < maskCount; ++i) AppendU32(info, recipe.masks[i]);
  }
  for (uint32_t colour : recipe.palette) {
    info.push_back(static_cast<char>(colour & 0xFF));
    info.push_back(static_cast<char>(colour >> 8 & 0xFF));
    info.push_back(static_cast<char>(colour >> 16 & 0xFF));
    if (!core) info.push_back(0);
  }

  std::string bits(stride * rows, '\0');
  for (int row = 0; row < rows; ++row) {
    const int y = recipe.height < 0 ? row : rows - 1 - row;  // the picture's row stored at `row`
    uint8_t* at = reinterpret_cast<uint8_t*>(&bits[row * stride]);
    for (int x = 0; x < recipe.width; ++x) {
      const uint32_t value = raw(x, y);
      switch (recipe.bitCount) {
        case 1:
        case 4:
        case 8: {
          const int perByte = 8 / recipe.bitCount;
          const int shift = 8 - recipe.bitCount * (x % perByte + 1);
          at[x / perByte] |= static_cast<uint8_t>(value << shift);
          break;
        }
        case 16:
          at[2 * x] = value & 0xFF;
          at[2 * x + 1] = value >> 8 & 0xFF;
          break;
        case 24:
          at[3 * x] = value & 0xFF;
          at[3 * x + 1] = value >> 8 & 0xFF;
          at[3 * x + 2] = value >> 16 & 0xFF;
          break;
        default:
          for (int i = 0; i < 4; ++i) at[4 * x + i] = value >> (8 * i) & 0xFF;
      }
    }
  }

  std::string file = "BM";
  AppendU32(file, static_cast<uint32_t>(14 + info.size() + bits.size()));
  AppendU32(file, 0);
  AppendU32(file, static_cast<uint32_t>(14 + info.size()));
  return file + info + bits;
}

// A 24-bit bottom-up picture of one colour.
inline std::string SolidBmp(int width, int height, uint32_t rgb) {
  BmpRecipe recipe;
  recipe.width = width;
  recipe.height = height;
  return BuildBmp(recipe, [rgb](int, int) { return rgb; });
}
