#include "base/scale.h"

#include <gtest/gtest.h>

namespace {

// A check box's 16 pixels, a font's 10 and the skin's multiple at the
// usual display scales and at the edges of the rule.
TEST(ScaleTest, SizesAndSkinMultipleForEachScale) {
  struct Case {
    int dpi;
    int box;       // 16 at 96 DPI
    int font;      // 10 at 96 DPI
    int multiple;  // of a skin
  };
  const Case cases[] = {
      {96, 16, 10, 1},   {120, 20, 13, 1},  {143, 24, 15, 1},  {144, 24, 15, 2},  {168, 28, 18, 2},
      {192, 32, 20, 2},  {239, 40, 25, 2},  {240, 40, 25, 3},  {288, 48, 30, 3},  {72, 12, 8, 1},
      {48, 8, 5, 1},     {0, 16, 10, 1},    {-96, 16, 10, 1},  {2000, 333, 208, 8},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dpi);
    EXPECT_EQ(ScaleForDpi(16, c.dpi), c.box);
    EXPECT_EQ(ScaleForDpi(10, c.dpi), c.font);
    EXPECT_EQ(SkinMultipleForDpi(c.dpi), c.multiple);
  }
  // Halves round away from zero on both sides; huge values do not wrap.
  EXPECT_EQ(ScaleForDpi(1, 144), 2);
  EXPECT_EQ(ScaleForDpi(-1, 144), -2);
  EXPECT_EQ(ScaleForDpi(-10, 120), -13);
  EXPECT_EQ(ScaleForDpi(2000000000, 192), 2147483647);
  EXPECT_EQ(ScaleForDpi(-2000000000, 192), -2147483647 - 1);
  const Rect doubled = MultiplyRect(Rect{-3, 4, 10, 20}, 2);
  EXPECT_EQ(doubled.left, -6);
  EXPECT_EQ(doubled.bottom, 40);
}

}  // namespace
