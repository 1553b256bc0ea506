#include "skin/bmp.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "tests/native/bmp_builder.h"

namespace {

const uint8_t* Bytes(const std::string& s) {
  return reinterpret_cast<const uint8_t*>(s.data());
}

// A pattern that differs from pixel to pixel and row to row.
uint32_t Pattern(int x, int y) {
  return static_cast<uint32_t>(x * 2654435761u ^ y * 40503u ^ (x + 7) * (y + 3) * 97u);
}

std::vector<uint32_t> Palette(int count) {
  std::vector<uint32_t> colours;
  for (int i = 0; i < count; ++i)
    colours.push_back(static_cast<uint32_t>(i * 0x0A1B2C + 0x102030) & 0xFFFFFF);
  return colours;
}

uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) {
  return r << 16 | g << 8 | b;
}

struct DepthCase {
  const char* name;
  BmpRecipe recipe;
  std::function<uint32_t(int, int)> raw;
  std::function<uint32_t(uint32_t)> expected;  // from the raw value
};

std::vector<DepthCase> DepthCases() {
  std::vector<DepthCase> cases;
  auto paletted = [&](const char* name, uint32_t header, int bits) {
    BmpRecipe recipe;
    recipe.headerSize = header;
    recipe.bitCount = bits;
    recipe.palette = Palette(1 << bits);
    const uint32_t mask = (1u << bits) - 1;
    std::vector<uint32_t> palette = recipe.palette;
    cases.push_back({name, recipe, [mask](int x, int y) { return Pattern(x, y) & mask; },
                     [palette](uint32_t index) { return palette[index]; }});
  };
  paletted("core 1-bit", 12, 1);
  paletted("core 4-bit", 12, 4);
  paletted("core 8-bit", 12, 8);
  paletted("info 1-bit", 40, 1);
  paletted("info 4-bit", 40, 4);
  paletted("V5 8-bit", 124, 8);

  auto direct = [&](const char* name, uint32_t header, int bits, uint32_t compression,
                    std::initializer_list<uint32_t> masks, std::function<uint32_t(uint32_t)> expected) {
    BmpRecipe recipe;
    recipe.headerSize = header;
    recipe.bitCount = bits;
    recipe.compression = compression;
    int i = 0;
    for (uint32_t m : masks) recipe.masks[i++] = m;
    const uint32_t mask = bits == 32 ? 0xFFFFFFFFu : (1u << bits) - 1;
    cases.push_back({name, recipe, [mask](int x, int y) { return Pattern(x, y) & mask; }, expected});
  };
  // 5 bits widen as v << 3 | v >> 2, 6 bits as v << 2 | v >> 4.
  auto five = [](uint32_t v) { return (v << 3 | v >> 2) & 0xFF; };
  auto six = [](uint32_t v) { return (v << 2 | v >> 4) & 0xFF; };
  direct("core 24-bit", 12, 24, 0, {}, [](uint32_t v) { return v; });
  direct("info 24-bit", 40, 24, 0, {}, [](uint32_t v) { return v; });
  direct("16-bit 5-5-5", 40, 16, 0, {},
         [=](uint32_t v) { return Rgb(five(v >> 10 & 31), five(v >> 5 & 31), five(v & 31)); });
  direct("16-bit 5-6-5 fields", 40, 16, 3, {0xF800, 0x07E0, 0x001F},
         [=](uint32_t v) { return Rgb(five(v >> 11), six(v >> 5 & 63), five(v & 31)); });
  direct("V4 16-bit 5-6-5", 108, 16, 3, {0xF800, 0x07E0, 0x001F},
         [=](uint32_t v) { return Rgb(five(v >> 11), six(v >> 5 & 63), five(v & 31)); });
  direct("32-bit, top byte dropped", 40, 32, 0, {}, [](uint32_t v) { return v & 0xFFFFFF; });
  direct("32-bit fields, blue high", 40, 32, 3, {0x0000FF00, 0x00FF0000, 0xFF000000},
         [](uint32_t v) { return Rgb(v >> 8 & 0xFF, v >> 16 & 0xFF, v >> 24); });
  direct("V3 32-bit 10-10-10", 56, 32, 3, {0x3FF00000, 0x000FFC00, 0x000003FF},
         [](uint32_t v) { return Rgb(v >> 22 & 0xFF, v >> 12 & 0xFF, v >> 2 & 0xFF); });
  direct("alpha fields after the header", 40, 32, 6, {0xFF0000, 0xFF00, 0xFF, 0xFF000000},
         [](uint32_t v) { return v & 0xFFFFFF; });
  return cases;
}

TEST(BmpDecode, EveryDepthAndHeaderBothRowOrdersAndOddWidths) {
  for (const DepthCase& c : DepthCases()) {
    for (int width : {1, 5, 17}) {
      for (bool topDown : {false, true}) {
        if (topDown && c.recipe.headerSize == 12) continue;  // a core header has no sign
        BmpRecipe recipe = c.recipe;
        recipe.width = width;
        recipe.height = topDown ? -3 : 3;
        const std::string file = BuildBmp(recipe, c.raw);
        BmpImage image;
        SCOPED_TRACE(std::string(c.name) + (topDown ? " top-down" : " bottom-up") + " width " +
                     std::to_string(width));
        ASSERT_EQ(DecodeBmp(Bytes(file), file.size(), &image), 1);
        ASSERT_EQ(image.width, width);
        ASSERT_EQ(image.height, 3);
        for (int y = 0; y < 3; ++y)
          for (int x = 0; x < width; ++x)
            ASSERT_EQ(image.pixels[y * width + x], c.expected(c.raw(x, y))) << x << ", " << y;
      }
    }
  }
}

TEST(BmpDecode, AShortColourTableLeavesTheOtherIndicesBlack) {
  BmpRecipe recipe;
  recipe.width = 4;
  recipe.bitCount = 8;
  recipe.palette = {0x112233, 0x445566};
  recipe.coloursUsed = 2;
  const std::string file = BuildBmp(recipe, [](int x, int) { return static_cast<uint32_t>(x); });
  BmpImage image;
  ASSERT_EQ(DecodeBmp(Bytes(file), file.size(), &image), 1);
  EXPECT_EQ(image.pixels, (std::vector<Pixel>{0x112233, 0x445566, 0, 0}));
}

// A valid 2 x 2 8-bit picture with a four-colour table, to be damaged.
std::string EightBit() {
  BmpRecipe recipe;
  recipe.width = 2;
  recipe.height = 2;
  recipe.bitCount = 8;
  recipe.palette = Palette(4);
  recipe.coloursUsed = 4;
  return BuildBmp(recipe, [](int x, int y) { return static_cast<uint32_t>(x + 2 * y); });
}

std::string With(std::string file, size_t at, uint32_t value, int bytes = 4) {
  for (int i = 0; i < bytes; ++i) file[at + i] = static_cast<char>(value >> (8 * i) & 0xFF);
  return file;
}

TEST(BmpDecode, HeadersThatPointOutsideTheBytesOrMakeNoSenseAreRefused) {
  const std::string good = EightBit();
  // Offsets: 2 size, 10 bits offset, 14 header size, 18 width, 22 height,
  // 26 planes, 28 depth, 30 compression, 46 colours used; table at 54.
  struct {
    const char* what;
    std::string file;
  } cases[] = {
      {"no BM", "XM" + good.substr(2)},
      {"shorter than a header size", good.substr(0, 17)},
      {"header size unknown", With(good, 14, 20)},
      {"header cut off", good.substr(0, 14 + 39)},
      {"colour table cut off", good.substr(0, 54 + 15)},
      {"colour count beyond the bytes", With(good, 46, 200)},
      {"bits offset beyond the end", With(good, 10, 1000)},
      {"bits one byte short", good.substr(0, good.size() - 1)},
      {"width 0", With(good, 18, 0)},
      {"negative width", With(good, 18, static_cast<uint32_t>(-2))},
      {"height 0", With(good, 22, 0)},
      {"height INT_MIN", With(good, 22, 0x80000000u)},
      {"two planes", With(good, 26, 2, 2)},
      {"2-bit depth", With(good, 28, 2, 2)},
      {"no depth (JPEG)", With(With(good, 28, 0, 2), 30, 4)},
      {"PNG compression", With(good, 30, 5)},
      {"bit fields on 8 bits", With(good, 30, 3)},
      {"RLE4 on 8 bits", With(good, 30, 2)},
  };
  for (const auto& c : cases) {
    BmpLayout layout;
    BmpImage image;
    EXPECT_EQ(ParseBmp(Bytes(c.file), c.file.size(), &layout), 0) << c.what;
    EXPECT_EQ(DecodeBmp(Bytes(c.file), c.file.size(), &image), 0) << c.what;
  }
  BmpImage image;
  EXPECT_EQ(DecodeBmp(Bytes(good), good.size(), &image), 1);
}

TEST(BmpDecode, FieldMasksAfterAShortHeaderMustBeThere) {
  BmpRecipe recipe;
  recipe.bitCount = 16;
  recipe.compression = 3;
  recipe.masks[0] = 0xF800;
  recipe.masks[1] = 0x07E0;
  recipe.masks[2] = 0x1F;
  const std::string file = BuildBmp(recipe, [](int, int) { return 0xFFFFu; });
  BmpLayout layout;
  ASSERT_EQ(ParseBmp(Bytes(file), file.size(), &layout), 1);
  EXPECT_EQ(layout.colourTableOffset, 14u + 40 + 12);
  EXPECT_EQ(layout.infoSize, 40u + 12);  // what the system is handed as the bitmap information
  EXPECT_EQ(ParseBmp(Bytes(file), 14 + 40 + 8, &layout), 0);
}

TEST(BmpDecode, CompressedPicturesAreLaidOutButNotDecoded) {
  // RLE8: one run of two pixels of index 1, end of line, end of bitmap.
  std::string file = EightBit();
  const std::string rle = std::string("\x02\x01\x00\x00\x00\x01", 6);
  file = With(With(file, 30, 1), 34, static_cast<uint32_t>(rle.size()));
  file = file.substr(0, 54 + 16) + rle;
  BmpLayout layout;
  ASSERT_EQ(ParseBmp(Bytes(file), file.size(), &layout), 1);
  EXPECT_EQ(layout.bitsSize, rle.size());
  EXPECT_EQ(layout.infoSize, 40u + 4 * 4);
  BmpImage image;
  EXPECT_EQ(DecodeBmp(Bytes(file), file.size(), &image), 0);
  // A compressed size beyond the bytes, none at all, or rows top-down.
  EXPECT_EQ(ParseBmp(Bytes(file), file.size() - 1, &layout), 0);
  const std::string noSize = With(file, 34, 0);
  EXPECT_EQ(ParseBmp(Bytes(noSize), noSize.size(), &layout), 0);
  const std::string topDown = With(file, 22, static_cast<uint32_t>(-2));
  EXPECT_EQ(ParseBmp(Bytes(topDown), topDown.size(), &layout), 0);
  // Compressed, a huge picture fits in a few bytes: the pixel limit keeps
  // it from being made.
  const std::string huge = With(With(file, 18, 1 << 14), 22, 1 << 13);
  EXPECT_EQ(ParseBmp(Bytes(huge), huge.size(), &layout), 0);
}

}  // namespace
