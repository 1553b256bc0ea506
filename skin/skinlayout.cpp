#include "skin/skinlayout.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "base/boundedtext.h"
#include "base/scale.h"

namespace {

int Clamp(int value, int low, int high) {
  return std::min(std::max(value, low), high);
}

int ToInt(int64_t value) {
  return static_cast<int>(std::min<int64_t>(std::max<int64_t>(value, INT32_MIN), INT32_MAX));
}

// The program path is taken up to this many characters.
constexpr size_t kProgramPathTaken = 1999;

}  // namespace

Size SkinWindowSize(const Skin& skin) {
  return Size{Clamp(skin.width, kMinSkinWindowSide, kMaxSkinWindowSide),
              Clamp(skin.height, kMinSkinWindowSide, kMaxSkinWindowSide)};
}

int SkinCornerEllipse(const Skin& skin) {
  return std::max(skin.cornerRadius, 0);
}

Place SkinTreePlace(const Skin& skin) {
  const Rect& r = skin.treeRect;
  const int64_t width = static_cast<int64_t>(r.right) - r.left;
  const int64_t height = static_cast<int64_t>(r.bottom) - r.top;
  return Place{r.left, r.top, ToInt(std::max<int64_t>(width, 0)), ToInt(std::max<int64_t>(height, 0))};
}

Rect KeepSkinnedWindowOnWorkArea(const Rect& window, const Rect& workArea) {
  Rect r = window;
  if (r.bottom > workArea.bottom) {
    const int shift = workArea.bottom + 1 - r.bottom;
    r.top += shift;
    r.bottom += shift;
  }
  if (r.right > workArea.right) {
    const int shift = workArea.right + 1 - r.right;
    r.left += shift;
    r.right += shift;
  }
  return r;
}

Rect ResizeSkinnedWindow(const Rect& window, Size size, const Rect& workArea) {
  Rect r = {window.left, window.top, window.left + size.width, window.top + size.height};
  if (window.right >= workArea.right) {
    r.right = workArea.right + 1;
    r.left = r.right - size.width;
  }
  if (window.bottom >= workArea.bottom) {
    r.bottom = workArea.bottom + 1;
    r.top = r.bottom - size.height;
  }
  return KeepSkinnedWindowOnWorkArea(r, workArea);
}

namespace {

double Luminance(Color c) {
  auto channel = [](unsigned value) {
    const double v = value / 255.0;
    return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * channel(c & 0xFF) + 0.7152 * channel((c >> 8) & 0xFF) + 0.0722 * channel((c >> 16) & 0xFF);
}

}  // namespace

double ContrastRatio(Color a, Color b) {
  const double la = Luminance(a);
  const double lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

Color CalendarTitleTextColor(const Skin& skin) {
  if (ContrastRatio(skin.textColor, skin.backColor) >= kReadableContrast) return skin.textColor;
  const Color white = MakeColor(255, 255, 255);
  const Color black = MakeColor(0, 0, 0);
  return ContrastRatio(white, skin.backColor) >= ContrastRatio(black, skin.backColor) ? white : black;
}

bool PointInRect(const Point& point, const Rect& rect) {
  return point.x >= rect.left && point.x <= rect.right && point.y >= rect.top && point.y <= rect.bottom;
}

int SkinButtonAt(const Skin& skin, const Point& point) {
  for (int button = 0; button < kSkinButtonCount; ++button)
    if (PointInRect(point, skin.buttons[button].rect)) return button;
  return -1;
}

SkinPress SkinPressAt(const Skin& skin, const Point& point) {
  SkinPress press = {false, false, -1};
  if (PointInRect(point, skin.buttons[kButtonClose].rect)) {
    press.close = true;
    return press;
  }
  press.move = PointInRect(point, skin.titleBar);
  for (int button = kButtonLists; button <= kButtonCalendar; ++button)
    if (PointInRect(point, skin.buttons[button].rect)) press.tab = button - kButtonLists;
  return press;
}

std::vector<ButtonPaint> ButtonPaints(const Skin& skin, int hoverButton, int selectedButton) {
  std::vector<ButtonPaint> paints;
  auto add = [&](int button, int picture) {
    if (button < 0 || button >= kSkinButtonCount) return;
    const SkinButton& b = skin.buttons[button];
    if (b.pictures[picture]) paints.push_back(ButtonPaint{button, b.pictures[picture], b.rect});
  };
  for (int button = 0; button < kSkinButtonCount; ++button) add(button, kPictureNormal);
  add(hoverButton, kPictureHover);
  add(selectedButton, kPictureSelected);
  return paints;
}

Rect VisibleCopy(const Rect& to, Size window, Size bitmap) {
  // In 64 bits: a skin's rectangle may lie anywhere an int reaches.
  const int64_t left = std::max<int64_t>(to.left, 0);
  const int64_t top = std::max<int64_t>(to.top, 0);
  const int64_t right =
      std::min<int64_t>({to.right, window.width, static_cast<int64_t>(to.left) + bitmap.width});
  const int64_t bottom =
      std::min<int64_t>({to.bottom, window.height, static_cast<int64_t>(to.top) + bitmap.height});
  if (right <= left || bottom <= top) return Rect{0, 0, 0, 0};
  return Rect{ToInt(left), ToInt(top), ToInt(right), ToInt(bottom)};
}

void SkinsFolderOf(const char* programPath, char* folder, size_t size) {
  if (!folder || size == 0) return;
  folder[0] = '\0';
  if (!programPath) return;
  char path[kProgramPathTaken + 1];
  CopyBounded(path, programPath, sizeof path);
  for (size_t i = std::strlen(path); i-- > 1;) {
    if (path[i] == '\\') {
      path[i] = '\0';
      break;
    }
  }
  CopyBounded(folder, path, size);
  AppendBounded(folder, "\\skins", size);
}

void MultiplySkinGeometry(Skin* skin, int multiple) {
  if (!skin || multiple <= 1) return;
  skin->multiple = multiple;
  skin->width = MultiplySaturated(skin->width, multiple);
  skin->height = MultiplySaturated(skin->height, multiple);
  skin->cornerRadius = MultiplySaturated(skin->cornerRadius, multiple);
  skin->titleBar = MultiplyRect(skin->titleBar, multiple);
  skin->treeRect = MultiplyRect(skin->treeRect, multiple);
  for (SkinButton& button : skin->buttons) button.rect = MultiplyRect(button.rect, multiple);
}
