#include "app/geometry.h"

#include <algorithm>
#include <cstring>

#include "base/scale.h"

Rect SnapPlainMove(const Rect& proposed, const Rect& current, const Rect& workArea) {
  Rect r = proposed;
  if (r.top < kSnapDistance) {
    if (current.top == workArea.top && r.top > 0) {
      r.top += kSnapDistance;
      r.bottom += kSnapDistance;
    } else {
      r.bottom -= r.top;
      r.top = 0;
    }
  }
  if (r.left < kSnapDistance) {
    if (current.left == workArea.left && r.left > 0) {
      r.left += kSnapDistance;
      r.right += kSnapDistance;
    } else {
      r.right -= r.left;
      r.left = 0;
    }
  }
  if (r.bottom > workArea.bottom - kSnapDistance) {
    if (current.bottom == workArea.bottom && r.bottom < workArea.bottom) {
      r.top -= kSnapDistance;
      r.bottom -= kSnapDistance;
    } else {
      r.top += workArea.bottom - r.bottom;
      r.bottom = workArea.bottom;
    }
  }
  if (r.right > workArea.right - kSnapDistance) {
    if (current.right == workArea.right && r.right < workArea.right) {
      r.left -= kSnapDistance;
      r.right -= kSnapDistance;
    } else {
      r.left += workArea.right - r.right;
      r.right = workArea.right;
    }
  }
  return r;
}

Rect SnapSkinnedMove(const Rect& candidate, const Rect& workArea) {
  Rect r = candidate;
  if (r.top < kSnapDistance) {
    r.bottom -= r.top;
    r.top = 0;
  }
  if (r.left < kSnapDistance) {
    r.right -= r.left;
    r.left = 0;
  }
  // The skinned window is placed one pixel beyond the bottom and right edges
  // of the work area; the skin's artwork expects that overhang. Its size
  // never changes: only the place is moved.
  if (r.bottom > workArea.bottom - kSnapDistance) {
    int shift = workArea.bottom - r.bottom + 1;
    r.top += shift;
    r.bottom += shift;
  }
  if (r.right > workArea.right - kSnapDistance) {
    int shift = workArea.right - r.right + 1;
    r.left += shift;
    r.right += shift;
  }
  return r;
}

bool StartHidden(const char* commandLine, int showCommand) {
  if (commandLine && *commandLine && std::strstr(commandLine, "-autorun")) return true;
  return (showCommand & 6) != 0;
}

Rect DefaultWindowRect(const Rect& workArea, int dpi) {
  const int side = ScaleForDpi(kDefaultWindowSize, dpi);
  return Rect{workArea.right - side, workArea.bottom - side, workArea.right, workArea.bottom};
}

Rect PlaceAfterDpiChange(const Rect& suggested, const Rect& before, const Rect& workArea) {
  const int width = suggested.right - suggested.left;
  const int height = suggested.bottom - suggested.top;
  int left = suggested.left;
  int top = suggested.top;
  // An edge the window sat on stays its edge: the corner it was snapped
  // into holds it whatever its new size.
  if (before.right == workArea.right) left = workArea.right - width;
  if (before.bottom == workArea.bottom) top = workArea.bottom - height;
  if (before.left == workArea.left) left = workArea.left;
  if (before.top == workArea.top) top = workArea.top;
  // Grown beyond the work area: pushed back in, its top-left corner first
  // so that the caption stays within reach.
  left = std::max(std::min(left, workArea.right - width), workArea.left);
  top = std::max(std::min(top, workArea.bottom - height), workArea.top);
  return Rect{left, top, left + width, top + height};
}

bool RectVisibleOnAnyScreen(const Rect& rect, const Rect* screens, size_t count) {
  if (!screens) return false;
  for (size_t i = 0; i < count; ++i) {
    const Rect& s = screens[i];
    // An inverted or empty stored rectangle overlaps nothing, which keeps
    // a corrupt place from being applied too.
    int left = std::max(rect.left, s.left);
    int right = std::min(rect.right, s.right);
    int top = std::max(rect.top, s.top);
    int bottom = std::min(rect.bottom, s.bottom);
    if (left < right && top < bottom) return true;
  }
  return false;
}
