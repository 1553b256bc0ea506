#include "base/win32/dpi.h"

#include <utility>

#include "base/scale.h"
#include "base/win32/scoped.h"

namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
// shcore's GetDpiForMonitor, with MDT_EFFECTIVE_DPI (0).
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);

template <typename Fn>
Fn Lookup(const char* module, const char* name, bool load) {
  HMODULE library = GetModuleHandleA(module);
  // Kept loaded for the life of the process: the pointer is cached.
  if (!library && load) library = LoadLibraryA(module);
  if (!library) return nullptr;
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

}  // namespace

int SystemDpi() {
  ScopedDC screen = ScopedDC::ForWindow(nullptr);
  const int dpi = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
  return dpi > 0 ? dpi : kBaseDpi;
}

int WindowDpi(HWND window) {
  if (!window) return SystemDpi();
  static const GetDpiForWindowFn forWindow = Lookup<GetDpiForWindowFn>("user32.dll", "GetDpiForWindow", false);
  if (forWindow) {
    const UINT dpi = forWindow(window);
    if (dpi > 0) return static_cast<int>(dpi);
  }
  static const GetDpiForMonitorFn forMonitor = Lookup<GetDpiForMonitorFn>("shcore.dll", "GetDpiForMonitor", true);
  if (forMonitor) {
    UINT x = 0, y = 0;
    HMONITOR monitor = MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST);
    if (monitor && forMonitor(monitor, 0, &x, &y) == S_OK && y > 0) return static_cast<int>(y);
  }
  return SystemDpi();
}

HFONT CreateScaledFont(int height, int weight, DWORD quality, int dpi) {
  return CreateFontA(ScaleForDpi(height, dpi), 0, 0, 0, weight, FALSE, FALSE, FALSE, ANSI_CHARSET, 0, 0, quality, 0,
                     "MS Sans Serif");
}

HFONT ScaledFont::For(int dpi) {
  if (current_ && dpi == dpi_) return current_.get();
  ScopedGdiObject<HFONT> made(CreateScaledFont(height_, weight_, quality_, dpi));
  if (!made) return current_.get();
  previous_ = std::move(current_);
  current_ = std::move(made);
  dpi_ = dpi;
  return current_.get();
}

bool ScaledFont::Apply(HWND control, int dpi) {
  HFONT font = For(dpi);
  if (!control || !font) return false;
  SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  return true;
}

HBITMAP StretchedBitmap(HBITMAP source, int width, int height) {
  BITMAP info = {};
  if (!source || width <= 0 || height <= 0 || !GetObjectA(source, sizeof info, &info) || info.bmWidth <= 0 ||
      info.bmHeight <= 0)
    return nullptr;
  ScopedDC screen = ScopedDC::ForWindow(nullptr);
  ScopedDC from = ScopedDC::Compatible(screen.get());
  ScopedDC to = ScopedDC::Compatible(screen.get());
  HBITMAP made = CreateCompatibleBitmap(screen.get(), width, height);
  if (!made || !from.get() || !to.get()) {
    if (made) DeleteObject(made);
    return nullptr;
  }
  HGDIOBJ oldFrom = SelectObject(from.get(), source);
  HGDIOBJ oldTo = SelectObject(to.get(), made);
  const bool whole = width % info.bmWidth == 0 && height % info.bmHeight == 0;
  SetStretchBltMode(to.get(), whole ? COLORONCOLOR : HALFTONE);
  if (!whole) SetBrushOrgEx(to.get(), 0, 0, nullptr);
  const BOOL drawn = StretchBlt(to.get(), 0, 0, width, height, from.get(), 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
  SelectObject(from.get(), oldFrom);
  SelectObject(to.get(), oldTo);
  if (!drawn) {
    DeleteObject(made);
    return nullptr;
  }
  return made;
}
