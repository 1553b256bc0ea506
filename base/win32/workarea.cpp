#include "base/win32/workarea.h"

#include <windows.h>

#include "base/win32/handles.h"

Rect WorkArea() {
  RECT area;
  if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0))
    area = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  return ToRect(area);
}
