// The arithmetic of the skinned look, without a window: the window's size
// and place, its outline, where the trees go, what a press or the pointer
// hits, and what the buttons paint. A skin's numbers come from a file
// anyone can write, so every answer here stays sane for rectangles outside
// the window, empty or turned inside out.
#pragma once

#include <vector>

#include "base/platform.h"
#include "skin/skin.h"

// The skinned window's sides are kept within these: a skin of width 0 would
// make a window nobody can find, one of a million pixels one nobody can
// handle.
constexpr int kMinSkinWindowSide = 32;
constexpr int kMaxSkinWindowSide = 8192;

struct Size {
  int width;
  int height;
};
struct Place {
  int x;
  int y;
  int width;
  int height;
};

// The skin's sizes, corner and rectangles (its region and hit areas) times
// `multiple`, for a display of that many times 96 DPI; its pictures are
// grown by the same whole multiple, so the two still match pixel for pixel.
void MultiplySkinGeometry(Skin* skin, int multiple);

// The window's size in the skinned look: the skin's, each side kept within
// kMinSkinWindowSide to kMaxSkinWindowSide.
Size SkinWindowSize(const Skin& skin);
// The width and height of the ellipse that rounds each corner: the skin's
// corner radius, 0 (square) when negative.
int SkinCornerEllipse(const Skin& skin);
// Where the trees and the calendar go: the tree rectangle's left and top,
// with its width and height (0 when turned inside out).
Place SkinTreePlace(const Skin& skin);

// A freshly skinned window that sticks out below or to the right of the
// work area is moved up or left until its bottom or right edge lies one
// pixel beyond the work area's. Its top and left edges are not examined.
Rect KeepSkinnedWindowOnWorkArea(const Rect& window, const Rect& workArea);

// Where the window goes when a change of look gives it `size`. A window
// whose right or bottom edge lay on the work area's, or beyond it, ends
// with that edge one pixel beyond the work area's, as a skinned window
// snapped there does, whatever its new size: a window in the corner stays
// in the corner. Otherwise its top-left corner stays where it was, and it
// is kept on the work area as above.
Rect ResizeSkinnedWindow(const Rect& window, Size size, const Rect& workArea);

// The contrast ratio of two colours as WCAG reckons it for text: the
// lighter one's relative luminance plus 0.05 over the darker one's; from 1
// (the same) to 21 (black on white).
double ContrastRatio(Color a, Color b);
// The least contrast that text needs to be read comfortably (WCAG's 4.5:1).
constexpr double kReadableContrast = 4.5;
// The calendar's title text on its title band (the skin's back colour): the
// skin's text colour where it reads there, otherwise white or black,
// whichever reads better.
Color CalendarTitleTextColor(const Skin& skin);

// All four edges belong to the rectangle: a press on a button's right or
// bottom edge still hits it. An inside-out rectangle holds nothing.
bool PointInRect(const Point& point, const Rect& rect);

// The first button (close, Lists, Active, Done, Calendar) whose rectangle
// holds the point, or -1.
int SkinButtonAt(const Skin& skin, const Point& point);

// What a left press on the skinned window does: closes it (the close
// button, and nothing else then), or starts a move (in the title bar)
// and/or selects a tab (a tab button; the last of overlapping ones), both
// when the press lies in both.
struct SkinPress {
  bool close;
  bool move;
  int tab;  // -1 for none
};
SkinPress SkinPressAt(const Skin& skin, const Point& point);

// The skin button of a tab (tab index + 1).
constexpr int ButtonOfTab(int tab) {
  return tab + 1;
}

// One copy of a button picture: its top-left part, as large as the
// button's rectangle, to the rectangle's top-left corner.
struct ButtonPaint {
  int button;
  Handle picture;
  Rect rect;
};
// The copies that paint the buttons, in order: each button's normal
// picture, then the hover button's hover picture, then the selected
// button's selected picture, so that the selected one shows when the
// pointer rests on it. A button without the picture is left out.
std::vector<ButtonPaint> ButtonPaints(const Skin& skin, int hoverButton, int selectedButton);

// A copy of a `bitmap`-sized picture's top-left corner to `to`: the part of
// `to` that lies both in the window (0, 0, window width and height) and
// within the picture, in window coordinates; empty (right <= left or bottom
// <= top) when nothing does. The picture's pixel for a point (x, y) of the
// answer is (x - to.left, y - to.top). Where a picture is smaller than its
// rectangle, the rest of the rectangle is left as it was.
Rect VisibleCopy(const Rect& to, Size window, Size bitmap);
inline bool IsEmptyRect(const Rect& r) {
  return r.right <= r.left || r.bottom <= r.top;
}

// The skins folder beside the program: its full path (at most 1999
// characters taken), cut at its last backslash (sought from its last
// character down to its second), followed by "\skins"; a path without such a
// backslash is kept whole. Within `size` bytes, terminated.
void SkinsFolderOf(const char* programPath, char* folder, size_t size);
