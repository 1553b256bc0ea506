#include "app/win32/screens.h"

#include <windows.h>

#include "base/win32/handles.h"

namespace {

BOOL CALLBACK AddMonitorWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
  MONITORINFO info;
  info.cbSize = sizeof info;
  if (GetMonitorInfoA(monitor, &info))
    reinterpret_cast<std::vector<Rect>*>(data)->push_back(ToRect(info.rcWork));
  return TRUE;
}

}  // namespace

Rect MonitorWorkArea(HMONITOR monitor) {
  MONITORINFO info = {};
  info.cbSize = sizeof info;
  return monitor && GetMonitorInfoA(monitor, &info) ? ToRect(info.rcWork) : WorkArea();
}

std::vector<Rect> ScreenWorkAreas() {
  std::vector<Rect> screens;
  EnumDisplayMonitors(nullptr, nullptr, AddMonitorWorkArea, reinterpret_cast<LPARAM>(&screens));
  if (screens.empty()) screens.push_back(WorkArea());
  return screens;
}
