// Small value types shared by the portable core and the Win32 adapters.
// They mirror the Win32 layouts so that an adapter converts by copying
// fields, never by guessing.
#pragma once

#include <cstdint>

// An opaque platform handle (HWND, HBITMAP, HIMAGELIST, HINSTANCE...). The
// core stores and compares these but never looks inside.
using Handle = void*;

// Broken-down local time, laid out as the Win32 SYSTEMTIME.
struct DateTime {
  uint16_t year;
  uint16_t month;      // 1-12
  uint16_t dayOfWeek;  // 0 = Sunday
  uint16_t day;        // 1-31
  uint16_t hour;       // 0-23
  uint16_t minute;
  uint16_t second;
  uint16_t milliseconds;
};

struct Point {
  int x;
  int y;
};

struct Rect {
  int left;
  int top;
  int right;
  int bottom;
};

// 0x00BBGGRR, as a Win32 COLORREF.
using Color = uint32_t;
constexpr Color MakeColor(unsigned r, unsigned g, unsigned b) {
  return (r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16);
}
constexpr Color kDefaultColor = 0xFF000000;  // CLR_DEFAULT
// Trees and calendar use this as background; painting treats it as clear.
constexpr Color kKeyColor = MakeColor(250, 50, 250);

// A tree node, as a Win32 HTREEITEM: opaque, compared, never dereferenced
// outside the forest that made it.
struct TreeNodeTag;
using Node = TreeNodeTag*;
