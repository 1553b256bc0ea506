// Conversions between the core's opaque handles and value types and their
// Win32 forms.
#pragma once

#include <windows.h>

#include "base/platform.h"

inline HWND Window(Handle handle) {
  return static_cast<HWND>(handle);
}

inline Rect ToRect(const RECT& r) {
  return Rect{r.left, r.top, r.right, r.bottom};
}

inline RECT ToRECT(const Rect& r) {
  return RECT{r.left, r.top, r.right, r.bottom};
}
