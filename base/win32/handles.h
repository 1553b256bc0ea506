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

// DateTime has SYSTEMTIME's layout, field for field.
inline SYSTEMTIME ToSystemTime(const DateTime& t) {
  return SYSTEMTIME{t.year, t.month, t.dayOfWeek, t.day, t.hour, t.minute, t.second, t.milliseconds};
}

inline DateTime ToDateTime(const SYSTEMTIME& t) {
  return DateTime{t.wYear, t.wMonth, t.wDayOfWeek, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds};
}
