#include "skin/skinlayout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <fstream>
#include <iterator>
#include <string>

#include "skin/bmp.h"

namespace {

bool Same(const Rect& a, const Rect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
std::string Text(const Rect& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
         std::to_string(r.bottom);
}
#define EXPECT_RECT(actual, ...) EXPECT_TRUE(Same(actual, Rect{__VA_ARGS__})) << Text(actual)

// A skin of 200 x 300 with a 24-pixel title bar, the close button in its
// corner and four tab buttons in a row below it; the Active button reaches
// up into the title bar.
Skin ExampleSkin() {
  int32_t values[kSkinValueCount] = {200, 300, 16, 24, 300, 20, 30, 40, 50, 60};
  const int32_t rects[6][4] = {
      {10, 190, 60, 290},                                                            // tree
      {176, 196, 4, 20},                                                             // close
      {10, 50, 30, 50},   {55, 95, 20, 50}, {100, 140, 30, 50}, {145, 185, 30, 50},  // tabs
  };
  for (int r = 0; r < 6; ++r)
    for (int i = 0; i < 4; ++i) values[kValueTreeRect + 4 * r + i] = rects[r][i];
  Skin skin = {};
  SetSkinGeometry(values, &skin);
  return skin;
}

TEST(SkinLayout, ValuesBecomeSizesColoursAndRectanglesStoredLeftRightTopBottom) {
  Skin skin = ExampleSkin();
  EXPECT_EQ(skin.width, 200);
  EXPECT_EQ(skin.height, 300);
  EXPECT_EQ(skin.cornerRadius, 16);
  EXPECT_EQ(skin.textColor, MakeColor(44, 20, 30));  // 300 counts as 44
  EXPECT_EQ(skin.backColor, MakeColor(40, 50, 60));
  EXPECT_RECT(skin.titleBar, 0, 0, 200, 24);
  EXPECT_RECT(skin.treeRect, 10, 60, 190, 290);
  EXPECT_RECT(skin.buttons[kButtonClose].rect, 176, 4, 196, 20);
  EXPECT_RECT(skin.buttons[kButtonCalendar].rect, 145, 30, 185, 50);
  const Place trees = SkinTreePlace(skin);
  EXPECT_EQ(trees.x, 10);
  EXPECT_EQ(trees.y, 60);
  EXPECT_EQ(trees.width, 180);
  EXPECT_EQ(trees.height, 230);
}

TEST(SkinLayout, SizesTheWindowCannotUseAreKeptSane) {
  Skin skin = {};
  skin.width = 0;
  skin.height = -40;
  skin.cornerRadius = -3;
  skin.treeRect = {50, 60, 40, 10};  // inside out
  EXPECT_EQ(SkinWindowSize(skin).width, kMinSkinWindowSide);
  EXPECT_EQ(SkinWindowSize(skin).height, kMinSkinWindowSide);
  EXPECT_EQ(SkinCornerEllipse(skin), 0);
  EXPECT_EQ(SkinTreePlace(skin).x, 50);
  EXPECT_EQ(SkinTreePlace(skin).width, 0);
  EXPECT_EQ(SkinTreePlace(skin).height, 0);
  skin.width = INT_MAX;
  skin.treeRect = {INT_MIN, 0, INT_MAX, 10};
  EXPECT_EQ(SkinWindowSize(skin).width, kMaxSkinWindowSide);
  EXPECT_EQ(SkinTreePlace(skin).width, INT_MAX);  // capped
}

// At twice the size the window, its outline, the trees and every hit area
// double; a point beyond a button's edge at 1x lies in it at 2x.
TEST(SkinLayout, AtAWholeMultipleEverySizeAndHitAreaGrowsAlike) {
  Skin skin = ExampleSkin();
  EXPECT_EQ(SkinButtonAt(skin, Point{360, 90}), -1);
  MultiplySkinGeometry(&skin, 2);
  EXPECT_EQ(SkinWindowSize(skin).width, 400);
  EXPECT_EQ(SkinWindowSize(skin).height, 600);
  EXPECT_EQ(SkinCornerEllipse(skin), 32);
  EXPECT_RECT(skin.titleBar, 0, 0, 400, 48);
  EXPECT_EQ(SkinTreePlace(skin).y, 120);
  EXPECT_EQ(SkinTreePlace(skin).height, 460);
  EXPECT_EQ(SkinButtonAt(skin, Point{360, 90}), kButtonCalendar);
  EXPECT_TRUE(SkinPressAt(skin, Point{390, 30}).close);
  // Numbers no window can have saturate instead of wrapping.
  skin.treeRect = {INT_MIN, 0, INT_MAX, 10};
  MultiplySkinGeometry(&skin, 3);
  EXPECT_RECT(skin.treeRect, INT_MIN, 0, INT_MAX, 30);
  EXPECT_EQ(SkinWindowSize(skin).width, 1200);
}

TEST(SkinLayout, AWindowStickingOutOfTheWorkAreaEndsOnePixelBeyondIt) {
  const Rect work = {0, 0, 1024, 738};
  // 30 pixels below: up by 29.
  EXPECT_RECT(KeepSkinnedWindowOnWorkArea({500, 468, 750, 768}, work), 500, 439, 750, 739);
  EXPECT_RECT(KeepSkinnedWindowOnWorkArea({900, 100, 1100, 400}, work), 825, 100, 1025, 400);
  EXPECT_RECT(KeepSkinnedWindowOnWorkArea({900, 600, 1100, 800}, work), 825, 539, 1025, 739);
  // Inside, or already one pixel beyond, or off the top: left alone.
  EXPECT_RECT(KeepSkinnedWindowOnWorkArea({10, 10, 260, 260}, work), 10, 10, 260, 260);
  EXPECT_RECT(KeepSkinnedWindowOnWorkArea({775, 489, 1025, 739}, work), 775, 489, 1025, 739);
  EXPECT_RECT(KeepSkinnedWindowOnWorkArea({-50, -50, 100, 100}, work), -50, -50, 100, 100);
}

TEST(SkinLayout, AChangeOfSizeKeepsTheWindowOnTheCornerOrEdgesItLayOn) {
  const Rect work = {0, 0, 1024, 738};
  const struct {
    Rect before;
    Size size;
    Rect after;
  } cases[] = {
      // In the corner, skinned (one pixel beyond) or plain: back to a smaller skin, or a larger one.
      {{725, 319, 1025, 739}, {264, 352}, {761, 387, 1025, 739}},
      {{774, 488, 1024, 738}, {300, 420}, {725, 319, 1025, 739}},
      // On the right edge only, on the bottom edge only.
      {{725, 100, 1025, 520}, {264, 352}, {761, 100, 1025, 452}},
      {{100, 319, 400, 739}, {264, 352}, {100, 387, 364, 739}},
      // Beyond the right edge: back to its corner. Away from the edges: the top-left corner stays.
      {{900, 319, 1200, 739}, {264, 352}, {761, 387, 1025, 739}},
      {{100, 100, 400, 520}, {264, 352}, {100, 100, 364, 452}},
      // Away from the edges but larger than the room: kept on the work area.
      {{600, 400, 864, 722}, {300, 420}, {600, 319, 900, 739}},
  };
  for (const auto& c : cases)
    EXPECT_RECT(ResizeSkinnedWindow(c.before, c.size, work), c.after.left, c.after.top, c.after.right,
                c.after.bottom);
}

TEST(SkinLayout, TheCalendarTitleTextIsTheSkinsWhereItReadsOtherwiseWhiteOrBlack) {
  const Color white = MakeColor(255, 255, 255), black = MakeColor(0, 0, 0);
  EXPECT_NEAR(ContrastRatio(black, white), 21.0, 1e-9);
  EXPECT_NEAR(ContrastRatio(white, white), 1.0, 1e-9);
  EXPECT_NEAR(ContrastRatio(MakeColor(118, 118, 118), white), 4.54, 0.01);  // the lightest grey that passes
  const struct {
    Color text, back, title;
  } cases[] = {
      {MakeColor(28, 42, 66), MakeColor(196, 214, 238), MakeColor(28, 42, 66)},
      {MakeColor(28, 42, 66), MakeColor(40, 83, 146), white},
      {MakeColor(250, 250, 250), MakeColor(230, 230, 200), black},
      {MakeColor(250, 250, 250), MakeColor(30, 30, 30), MakeColor(250, 250, 250)},
  };
  for (const auto& c : cases) {
    Skin skin = {};
    skin.textColor = c.text;
    skin.backColor = c.back;
    EXPECT_EQ(CalendarTitleTextColor(skin), c.title) << std::hex << c.text << " on " << c.back;
  }
}

// The bundled Default skin as built: its calendar's weekday names (the back
// colour on the paper of the tree background), today's date (white on the
// back colour), its title and the tasks' text all read.
TEST(SkinLayout, TheDefaultSkinsCalendarAndTasksRead) {
  std::ifstream in(VELKIN_BUNDLED_SKINS "/Default", std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  MemorySkinSource source(bytes);
  SkinFile file;
  ASSERT_EQ(ReadSkinForOrganiser(source, &file), SkinReadResult::kRead);
  Skin skin = {};
  SetSkinGeometry(file.values, &skin);
  const SlotImage& tile = file.slots[kSlotTreeBackground];
  BmpImage paper;
  ASSERT_EQ(DecodeBmp(tile.data(), tile.size(), &paper), 1);
  double weekdays = 21, text = 21;
  for (Pixel p : paper.pixels) {
    const Color c = MakeColor((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    weekdays = std::min(weekdays, ContrastRatio(skin.backColor, c));
    text = std::min(text, ContrastRatio(skin.textColor, c));
  }
  EXPECT_GE(weekdays, kReadableContrast);
  EXPECT_GE(text, kReadableContrast);
  EXPECT_GE(ContrastRatio(MakeColor(255, 255, 255), skin.backColor), kReadableContrast);
  EXPECT_GE(ContrastRatio(CalendarTitleTextColor(skin), skin.backColor), kReadableContrast);
}

TEST(SkinLayout, APressClosesOrMovesAndSelectsATabAndThePointerHoversTheFirstButton) {
  Skin skin = ExampleSkin();
  // The Done button laid over the Active one: the first of them counts
  // for the hover, the last for a press.
  skin.buttons[kButtonDone].rect = {60, 35, 70, 45};
  struct {
    Point at;
    bool close, move;
    int tab;
    int hover;
  } cases[] = {
      {{180, 10}, true, false, -1, kButtonClose},  // in the title bar too, but nothing else happens
      {{5, 5}, false, true, -1, -1},               // title bar only
      {{200, 0}, false, true, -1, -1},             // the title bar's corner
      {{60, 22}, false, true, 1, kButtonActive},   // title bar and the Active button: both
      {{50, 50}, false, false, 0, kButtonLists},   // a button's bottom-right corner is in it
      {{51, 40}, false, false, -1, -1},            // between two buttons
      {{65, 40}, false, false, 2, kButtonActive},  // Active and Done overlapping
      {{185, 30}, false, false, 3, kButtonCalendar},
      {{100, 100}, false, false, -1, -1},
  };
  for (const auto& c : cases) {
    SkinPress press = SkinPressAt(skin, c.at);
    EXPECT_EQ(press.close, c.close) << c.at.x << "," << c.at.y;
    EXPECT_EQ(press.move, c.move) << c.at.x << "," << c.at.y;
    EXPECT_EQ(press.tab, c.tab) << c.at.x << "," << c.at.y;
    EXPECT_EQ(SkinButtonAt(skin, c.at), c.hover) << c.at.x << "," << c.at.y;
  }
  EXPECT_FALSE(PointInRect({20, 30}, Rect{30, 40, 10, 20}));  // inside out: holds nothing
}

Handle Picture(int button, int picture) {
  return reinterpret_cast<Handle>(static_cast<intptr_t>(0x100 + 16 * button + picture));
}

std::vector<std::pair<int, Handle>> Order(const std::vector<ButtonPaint>& paints) {
  std::vector<std::pair<int, Handle>> order;
  for (const ButtonPaint& p : paints) order.emplace_back(p.button, p.picture);
  return order;
}

TEST(SkinLayout, ButtonsPaintNormalThenHoverThenSelectedWhichShowsWhenBothAreOne) {
  Skin skin = ExampleSkin();
  for (int b = 0; b < kSkinButtonCount; ++b)
    for (int p = 0; p < 3; ++p) skin.buttons[b].pictures[p] = Picture(b, p);
  using Paints = std::vector<std::pair<int, Handle>>;
  Paints normal;
  for (int b = 0; b < kSkinButtonCount; ++b) normal.emplace_back(b, Picture(b, kPictureNormal));

  Paints expected = normal;
  expected.emplace_back(3, Picture(3, kPictureHover));
  expected.emplace_back(1, Picture(1, kPictureSelected));
  EXPECT_EQ(Order(ButtonPaints(skin, 3, 1)), expected);

  expected = normal;
  expected.emplace_back(2, Picture(2, kPictureHover));
  expected.emplace_back(2, Picture(2, kPictureSelected));
  EXPECT_EQ(Order(ButtonPaints(skin, 2, 2)), expected);  // the selected picture is painted last

  // No hover; a button without pictures; a hover button without a hover
  // picture keeps its normal one.
  skin.buttons[kButtonDone].pictures[kPictureNormal] = nullptr;
  skin.buttons[kButtonActive].pictures[kPictureHover] = nullptr;
  expected = normal;
  expected.erase(expected.begin() + kButtonDone);
  EXPECT_EQ(Order(ButtonPaints(skin, -1, -1)), expected);
  EXPECT_EQ(Order(ButtonPaints(skin, kButtonActive, 7)), expected);
  EXPECT_EQ(ButtonPaints(skin, -1, -1)[0].rect.right, 196);
}

TEST(SkinLayout, ACopyDrawsOnlyWhatLiesInTheWindowAndThePicture) {
  const Size window = {200, 300};
  struct {
    const char* what;
    Rect to;
    Size bitmap;
    Rect visible;  // empty: nothing drawn
  } cases[] = {
      {"inside", {10, 20, 50, 40}, {40, 20}, {10, 20, 50, 40}},
      {"a larger picture is cut to the rectangle", {10, 20, 50, 40}, {400, 400}, {10, 20, 50, 40}},
      {"a smaller picture leaves the rest", {10, 20, 50, 40}, {15, 5}, {10, 20, 25, 25}},
      {"over the left and top edges", {-10, -5, 30, 15}, {40, 20}, {0, 0, 30, 15}},
      {"past the right and bottom", {180, 290, 260, 330}, {80, 40}, {180, 290, 200, 300}},
      {"wholly outside", {300, 20, 350, 40}, {50, 20}, {0, 0, 0, 0}},
      {"zero width", {10, 20, 10, 40}, {40, 20}, {0, 0, 0, 0}},
      {"inside out", {50, 40, 10, 20}, {40, 20}, {0, 0, 0, 0}},
      {"a huge rectangle and picture", {-100, -100, INT_MAX, INT_MAX}, {INT_MAX, INT_MAX}, {0, 0, 200, 300}},
      {"a picture that ends before the window", {INT_MIN, INT_MIN, INT_MAX, INT_MAX}, {INT_MAX, INT_MAX}, {}},
      {"far right", {INT_MAX - 5, 0, INT_MAX, 10}, {INT_MAX, INT_MAX}, {0, 0, 0, 0}},
      {"empty picture", {0, 0, 50, 50}, {0, 0}, {0, 0, 0, 0}},
  };
  for (const auto& c : cases) {
    Rect visible = VisibleCopy(c.to, window, c.bitmap);
    if (IsEmptyRect(c.visible))
      EXPECT_TRUE(IsEmptyRect(visible)) << c.what << ": " << Text(visible);
    else
      EXPECT_TRUE(Same(visible, c.visible)) << c.what << ": " << Text(visible);
  }
}

TEST(SkinLayout, TheSkinsFolderIsBesideTheProgram) {
  struct {
    std::string program;
    std::string folder;
  } cases[] = {
      {"C:\\Tools\\velkin.exe", "C:\\Tools\\skins"},
      {"C:\\prog.exe", "C:\\skins"},
      {"velkin.exe", "velkin.exe\\skins"},
      {"\\velkin.exe", "\\velkin.exe\\skins"},  // the first character is not searched
      {"", "\\skins"},
  };
  char folder[2048];
  for (const auto& c : cases) {
    SkinsFolderOf(c.program.c_str(), folder, sizeof folder);
    EXPECT_EQ(std::string(folder), c.folder) << c.program;
  }
  // At most 1999 characters of the path count: a backslash past them is
  // not seen.
  std::string deep = "C:\\" + std::string(2000, 'a') + "\\velkin.exe";
  SkinsFolderOf(deep.c_str(), folder, sizeof folder);
  EXPECT_EQ(std::string(folder), "C:" + std::string("\\skins"));
  std::string longName = "C:\\" + std::string(1995, 'b') + "\\v.exe";
  SkinsFolderOf(longName.c_str(), folder, sizeof folder);
  EXPECT_EQ(std::string(folder), "C:\\" + std::string(1995, 'b') + "\\skins");
  // Never beyond the buffer.
  char small[8];
  SkinsFolderOf("C:\\Tools\\velkin.exe", small, sizeof small);
  EXPECT_EQ(std::string(small), "C:\\Tool");
}

}  // namespace
