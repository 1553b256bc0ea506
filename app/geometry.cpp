#include "app/geometry.h"

#include <algorithm>
#include <cstring>

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

Rect DefaultWindowRect(const Rect& workArea) {
  return Rect{workArea.right - kDefaultWindowSize, workArea.bottom - kDefaultWindowSize, workArea.right,
              workArea.bottom};
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
