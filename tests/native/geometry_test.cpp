#include "app/geometry.h"

#include <gtest/gtest.h>

#include <ostream>

// Static, not in the unnamed namespace: gtest finds them by argument lookup
// in Rect's (global) namespace.
static bool operator==(const Rect& a, const Rect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
static std::ostream& operator<<(std::ostream& out, const Rect& r) {
  return out << "(" << r.left << "," << r.top << "," << r.right << "," << r.bottom << ")";
}

namespace {

// A 1280 x 1024 screen with a 40-pixel task bar at the bottom.
constexpr Rect kWork = {0, 0, 1280, 984};
// Somewhere in the middle, 250 x 250.
constexpr Rect kMiddle = {500, 400, 750, 650};

Rect At(int left, int top) {
  return Rect{left, top, left + 250, top + 250};
}

TEST(PlainSnapTest, AwayFromEveryEdgeTheProposalStands) {
  EXPECT_EQ(SnapPlainMove(At(10, 10), kMiddle, kWork), At(10, 10));
  EXPECT_EQ(SnapPlainMove(At(1280 - 260, 984 - 260), kMiddle, kWork), At(1020, 724));
}

TEST(PlainSnapTest, TopSnapsOnAndJumpsFree) {
  // Dragged to 9 from the top: lands on it.
  Rect landed = SnapPlainMove(At(300, 9), kMiddle, kWork);
  EXPECT_EQ(landed, At(300, 0));
  // Dragged back down by one while sitting on the edge: jumps to 11.
  EXPECT_EQ(SnapPlainMove(At(300, 1), landed, kWork), At(300, 11));
  // Pushed up (or held at 0) while on the edge: stays on it.
  EXPECT_EQ(SnapPlainMove(At(300, 0), landed, kWork), At(300, 0));
  EXPECT_EQ(SnapPlainMove(At(300, -7), landed, kWork), At(300, 0));
}

TEST(PlainSnapTest, LeftSnapsOnAndJumpsFree) {
  EXPECT_EQ(SnapPlainMove(At(9, 300), kMiddle, kWork), At(0, 300));
  EXPECT_EQ(SnapPlainMove(At(-30, 300), kMiddle, kWork), At(0, 300));
  EXPECT_EQ(SnapPlainMove(At(4, 300), At(0, 300), kWork), At(14, 300));
}

TEST(PlainSnapTest, BottomSnapsOnAndJumpsFree) {
  // Bottom 5 above the work area's bottom, not yet on it: lands on it.
  EXPECT_EQ(SnapPlainMove(At(300, 984 - 5 - 250), kMiddle, kWork), At(300, 984 - 250));
  // The same drag while on the edge: 10 further up, 15 above the edge.
  Rect onEdge = At(300, 984 - 250);
  Rect freed = SnapPlainMove(At(300, 984 - 5 - 250), onEdge, kWork);
  EXPECT_EQ(freed.bottom, 984 - 15);
  EXPECT_EQ(freed.bottom - freed.top, 250);
  // Pushed below the work area while on the edge: back onto it.
  EXPECT_EQ(SnapPlainMove(At(300, 984 + 20 - 250), onEdge, kWork), onEdge);
}

TEST(PlainSnapTest, RightSnapsOnAndJumpsFree) {
  EXPECT_EQ(SnapPlainMove(At(1280 - 250 - 9, 300), kMiddle, kWork), At(1030, 300));
  EXPECT_EQ(SnapPlainMove(At(1280 - 250 - 3, 300), At(1030, 300), kWork), At(1280 - 250 - 13, 300));
  // Exactly 10 from the edge is outside the snap distance.
  EXPECT_EQ(SnapPlainMove(At(1280 - 250 - 10, 300), kMiddle, kWork), At(1020, 300));
}

TEST(PlainSnapTest, TopAndLeftTargetScreenZeroButTestTheWorkArea) {
  // A task bar at the top: the work area starts at 40.
  const Rect work = {40, 40, 1280, 1024};
  // Not on the work area's edge: snaps to screen coordinate 0.
  EXPECT_EQ(SnapPlainMove(At(40 + 300, 5), At(300, 300), work), At(340, 0));
  // Sitting on the work area's top: pulled to 5, jumps by 10.
  EXPECT_EQ(SnapPlainMove(At(300, 5), At(300, 40), work), At(300, 15));
  // Sitting at 0, which is not the work area's top: snaps again.
  EXPECT_EQ(SnapPlainMove(At(300, 5), At(300, 0), work), At(300, 0));
  EXPECT_EQ(SnapPlainMove(At(5, 300), At(40, 300), work), At(15, 300));
}

TEST(PlainSnapTest, CornerSnapsBothWays) {
  EXPECT_EQ(SnapPlainMove(At(1280 - 255, 984 - 252), kMiddle, kWork), At(1030, 734));
  EXPECT_EQ(SnapPlainMove(At(3, 6), kMiddle, kWork), At(0, 0));
}

TEST(SkinnedSnapTest, TopAndLeftGoToZeroWithoutJumpingFree) {
  EXPECT_EQ(SnapSkinnedMove(At(300, 9), kWork), At(300, 0));
  EXPECT_EQ(SnapSkinnedMove(At(300, 1), kWork), At(300, 0));
  EXPECT_EQ(SnapSkinnedMove(At(-20, 300), kWork), At(0, 300));
  EXPECT_EQ(SnapSkinnedMove(At(10, 10), kWork), At(10, 10));
}

TEST(SkinnedSnapTest, BottomAndRightEndOnePixelBeyondTheWorkArea) {
  Rect candidate = At(300, 984 - 5 - 250);
  Rect skinned = SnapSkinnedMove(candidate, kWork);
  Rect plain = SnapPlainMove(candidate, kMiddle, kWork);
  EXPECT_EQ(skinned.top, plain.top + 1);
  EXPECT_EQ(skinned.bottom, 984 + 1);
  EXPECT_EQ(skinned.bottom - skinned.top, 250);
  // Dragged beyond the edge: pulled back to the same place.
  EXPECT_EQ(SnapSkinnedMove(At(300, 984), kWork), skinned);

  Rect right = SnapSkinnedMove(At(1280 - 250 - 2, 300), kWork);
  EXPECT_EQ(right, At(1280 - 250 + 1, 300));
}

TEST(StartHiddenTest, ShowCommandsWithBitOneOrTwoHide) {
  const bool hides[12] = {false, false, true, true, true, true, true, true, false, false, true, true};
  for (int show = 0; show < 12; ++show) {
    EXPECT_EQ(StartHidden("", show), hides[show]) << "show command " << show;
    EXPECT_EQ(StartHidden(nullptr, show), hides[show]) << "show command " << show;
    // The option hides whatever the show command says.
    EXPECT_TRUE(StartHidden("-autorun", show)) << "show command " << show;
  }
}

TEST(StartHiddenTest, AutorunIsACaseSensitiveSubstring) {
  EXPECT_TRUE(StartHidden("-autorun", 1));
  EXPECT_TRUE(StartHidden("x-autorunx", 1));
  EXPECT_TRUE(StartHidden("\"C:\\a b\\velkin.exe\" -autorun", 1));
  EXPECT_FALSE(StartHidden("-AUTORUN", 1));
  EXPECT_FALSE(StartHidden("-Autorun", 9));
  EXPECT_FALSE(StartHidden("autorun", 1));
  EXPECT_FALSE(StartHidden("-autoru", 1));
}

TEST(DefaultWindowRectTest, BottomRightCornerOfTheWorkArea) {
  EXPECT_EQ(DefaultWindowRect(kWork), (Rect{1030, 734, 1280, 984}));
  EXPECT_EQ(DefaultWindowRect(Rect{-1920, 40, 0, 1080}), (Rect{-250, 830, 0, 1080}));
  EXPECT_EQ(DefaultWindowRect(kWork, 144), (Rect{905, 609, 1280, 984}));
}

// Moved to a monitor of another scale, or the scale changed under it: the
// suggested rectangle (new size) kept on the edges the window sat on and
// within the work area.
TEST(DpiChangeTest, SuggestedPlaceKeptOnItsEdgesAndTheWorkArea) {
  struct Case {
    const char* what;
    Rect suggested;
    Rect before;
    Rect expected;
  };
  const Case cases[] = {
      {"free in the middle: as suggested", {500, 400, 875, 775}, kMiddle, {500, 400, 875, 775}},
      {"snapped bottom-right, grown: still in that corner", {1030, 734, 1405, 1109}, {1030, 734, 1280, 984},
       {905, 609, 1280, 984}},
      {"snapped bottom-right, shrunk: still in that corner", {905, 609, 1155, 859}, {905, 609, 1280, 984},
       {1030, 734, 1280, 984}},
      {"snapped top-left stays there", {3, 5, 378, 380}, {0, 0, 250, 250}, {0, 0, 375, 375}},
      {"grown past the right and bottom: pushed in", {1100, 800, 1475, 1175}, kMiddle, {905, 609, 1280, 984}},
      {"above and left of the work area: pushed in", {-40, -30, 335, 345}, kMiddle, {0, 0, 375, 375}},
      {"larger than the work area: its top-left corner on the screen", {100, 100, 1500, 1100}, kMiddle,
       {0, 0, 1400, 1000}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(PlaceAfterDpiChange(c.suggested, c.before, kWork), c.expected);
  }
}

TEST(VisibleOnScreenTest, NeedsAtLeastOnePixelOnSomeScreen) {
  const Rect screens[] = {{0, 0, 1280, 984}, {1280, 0, 3200, 1080}};
  EXPECT_TRUE(RectVisibleOnAnyScreen(At(100, 100), screens, 2));
  // On the second monitor only.
  EXPECT_TRUE(RectVisibleOnAnyScreen(At(2000, 100), screens, 2));
  EXPECT_FALSE(RectVisibleOnAnyScreen(At(2000, 100), screens, 1));
  // One pixel in; touching the edge from outside is not in (right exclusive).
  EXPECT_TRUE(RectVisibleOnAnyScreen(Rect{-249, 10, 1, 260}, screens, 1));
  EXPECT_FALSE(RectVisibleOnAnyScreen(Rect{-250, 10, 0, 260}, screens, 1));
  EXPECT_FALSE(RectVisibleOnAnyScreen(Rect{100, 984, 350, 1234}, screens, 1));
  // Empty or inverted places and no screens at all.
  EXPECT_FALSE(RectVisibleOnAnyScreen(Rect{100, 100, 100, 300}, screens, 2));
  EXPECT_FALSE(RectVisibleOnAnyScreen(Rect{300, 100, 100, 300}, screens, 2));
  EXPECT_FALSE(RectVisibleOnAnyScreen(At(100, 100), nullptr, 0));
}

}  // namespace
