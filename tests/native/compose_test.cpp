#include "skin/compose.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr Pixel K = kKeyPixel;

// A background whose every pixel names its own place: 0x00YYXX plus a tag,
// so a wrong tile position shows in the value.
std::vector<Pixel> NumberedBackground(int width, int height) {
  std::vector<Pixel> pixels;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) pixels.push_back(0x00100000u | static_cast<Pixel>(y << 8 | x));
  return pixels;
}
Pixel Tile(int x, int y) {
  return 0x00100000u | static_cast<Pixel>(y << 8 | x);
}

TEST(ComposeTest, KeyPixelIsTheColourRgb250_50_250InDibOrder) {
  EXPECT_EQ(kKeyPixel, 0x00FA32FAu);
  EXPECT_EQ(PixelFromColor(MakeColor(1, 2, 3)), 0x00010203u);
}

TEST(ComposeTest, KeyPixelsTakeTheTiledBackgroundOthersKeepTheirOwn) {
  // 5 x 3 control over a 2 x 2 background: the tiles repeat from the
  // control's top-left corner.
  const int w = 5, h = 3;
  std::vector<Pixel> control = {
      K, 1, K, K, K,  //
      K, K, 2, K, 3,  //
      4, K, K, K, K,
  };
  std::vector<Pixel> background = NumberedBackground(2, 2);
  std::vector<Pixel> out(w * h, 0xDEADBEEF);
  ASSERT_EQ(ComposeOverBackground({control.data(), w, h, w}, {background.data(), 2, 2, 2}, 0, 0, kKeyPixel,
                                  {out.data(), w, h, w}),
            1);
  std::vector<Pixel> expected = {
      Tile(0, 0), 1,          Tile(0, 0), Tile(1, 0), Tile(0, 0),  //
      Tile(0, 1), Tile(1, 1), 2,          Tile(1, 1), 3,           //
      4,          Tile(1, 0), Tile(0, 0), Tile(1, 0), Tile(0, 0),
  };
  EXPECT_EQ(out, expected);
}

TEST(ComposeTest, OnlyTheExactKeyColourIsClear) {
  // One step away in any channel is drawn; the unused top byte is ignored.
  std::vector<Pixel> control = {0x00FA32F9, 0x00FA33FA, 0x00F932FA, 0xFFFA32FA};
  std::vector<Pixel> background = {0x00123456};
  std::vector<Pixel> out(4);
  ASSERT_EQ(ComposeOverBackground({control.data(), 4, 1, 4}, {background.data(), 1, 1, 1}, 0, 0, kKeyPixel,
                                  {out.data(), 4, 1, 4}),
            1);
  EXPECT_EQ(out, (std::vector<Pixel>{0x00FA32F9, 0x00FA33FA, 0x00F932FA, 0x00123456}));
}

TEST(ComposeTest, BackgroundLargerThanTheControlIsCut) {
  std::vector<Pixel> control(3 * 2, K);
  std::vector<Pixel> background = NumberedBackground(8, 6);
  std::vector<Pixel> out(3 * 2);
  ASSERT_EQ(ComposeOverBackground({control.data(), 3, 2, 3}, {background.data(), 8, 6, 8}, 0, 0, kKeyPixel,
                                  {out.data(), 3, 2, 3}),
            1);
  EXPECT_EQ(out,
            (std::vector<Pixel>{Tile(0, 0), Tile(1, 0), Tile(2, 0), Tile(0, 1), Tile(1, 1), Tile(2, 1)}));
}

TEST(ComposeTest, OffsetShiftsTheTilesAndWrapsBothWays) {
  std::vector<Pixel> control(4, K);
  std::vector<Pixel> background = NumberedBackground(3, 2);
  std::vector<Pixel> out(4);
  ASSERT_EQ(ComposeOverBackground({control.data(), 4, 1, 4}, {background.data(), 3, 2, 3}, 2, 1, kKeyPixel,
                                  {out.data(), 4, 1, 4}),
            1);
  EXPECT_EQ(out, (std::vector<Pixel>{Tile(2, 1), Tile(0, 1), Tile(1, 1), Tile(2, 1)}));

  // Negative and far offsets land where their remainder says.
  ASSERT_EQ(ComposeOverBackground({control.data(), 4, 1, 4}, {background.data(), 3, 2, 3}, -1, -3, kKeyPixel,
                                  {out.data(), 4, 1, 4}),
            1);
  EXPECT_EQ(out, (std::vector<Pixel>{Tile(2, 1), Tile(0, 1), Tile(1, 1), Tile(2, 1)}));
  ASSERT_EQ(ComposeOverBackground({control.data(), 4, 1, 4}, {background.data(), 3, 2, 3}, 3001, 4, kKeyPixel,
                                  {out.data(), 4, 1, 4}),
            1);
  EXPECT_EQ(out, (std::vector<Pixel>{Tile(1, 0), Tile(2, 0), Tile(0, 0), Tile(1, 0)}));
}

TEST(ComposeTest, StridesLongerThanRowsAndComposingInPlace) {
  // Rows padded to 4 pixels; the padding is never read as image or written.
  const Pixel P = 0x0BADBAD0;
  std::vector<Pixel> image = {K, 7, P, P,  //
                              8, K, P, P};
  std::vector<Pixel> background = {0x00AAAAAA, P, 0x00BBBBBB, P};  // 1 x 2, stride 2
  ASSERT_EQ(ComposeOverBackground({image.data(), 2, 2, 4}, {background.data(), 1, 2, 2}, 0, 0, kKeyPixel,
                                  {image.data(), 2, 2, 4}),
            1);
  EXPECT_EQ(image, (std::vector<Pixel>{0x00AAAAAA, 7, P, P, 8, 0x00BBBBBB, P, P}));
}

TEST(ComposeTest, NonsenseSizesAreRefusedWithoutWriting) {
  std::vector<Pixel> control(4, K), background(4, 1), out(4, 9);
  const ConstPixelImage c{control.data(), 2, 2, 2};
  const ConstPixelImage b{background.data(), 2, 2, 2};
  const PixelImage o{out.data(), 2, 2, 2};
  EXPECT_EQ(ComposeOverBackground(c, {background.data(), 0, 2, 2}, 0, 0, K, o), 0);
  EXPECT_EQ(ComposeOverBackground(c, {nullptr, 2, 2, 2}, 0, 0, K, o), 0);
  EXPECT_EQ(ComposeOverBackground({control.data(), 2, 2, 1}, b, 0, 0, K, o), 0);
  EXPECT_EQ(ComposeOverBackground(c, b, 0, 0, K, {out.data(), 1, 2, 2}), 0);
  EXPECT_EQ(ComposeOverBackground({control.data(), -1, 2, 2}, b, 0, 0, K, o), 0);
  EXPECT_EQ(out, std::vector<Pixel>(4, 9));
  // An empty control is nothing to do, not an error.
  EXPECT_EQ(ComposeOverBackground({control.data(), 0, 0, 0}, b, 0, 0, K, o), 1);
  EXPECT_EQ(out, std::vector<Pixel>(4, 9));
}

}  // namespace
