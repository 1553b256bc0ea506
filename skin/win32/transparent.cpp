#include "skin/win32/transparent.h"

#include <vector>

#include "base/appstate.h"
#include "base/prompts.h"
#include "base/win32/scoped.h"
#include "skin/compose.h"

namespace {

// BeginPaint and EndPaint as one owner, so that every way out validates.
class ScopedPaint {
 public:
  explicit ScopedPaint(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
  ~ScopedPaint() { EndPaint(window_, &paint_); }
  ScopedPaint(const ScopedPaint&) = delete;
  ScopedPaint& operator=(const ScopedPaint&) = delete;
  HDC dc() const { return dc_; }

 private:
  HWND window_;
  PAINTSTRUCT paint_ = {};
  HDC dc_;
};

// The background's pixels, whatever its own format. Empty on failure.
std::vector<Pixel> ReadPixels(HDC dc, HBITMAP bitmap, int& width, int& height) {
  BITMAP shape = {};
  if (!GetObjectA(bitmap, sizeof shape, &shape) || shape.bmWidth <= 0 || shape.bmHeight <= 0) return {};
  width = shape.bmWidth;
  height = shape.bmHeight;
  std::vector<Pixel> pixels(static_cast<size_t>(width) * static_cast<size_t>(height));
  BITMAPINFO info = TopDown32(width, height);
  if (GetDIBits(dc, bitmap, 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS) != height)
    return {};
  return pixels;
}

// A top-down 32-bit picture selected into a memory DC, for a control to
// render itself into.
struct OffscreenPicture {
  ScopedDC dc;
  ScopedGdiObject<HBITMAP> image;
  HGDIOBJ previous = nullptr;
  void* bits = nullptr;
  int width = 0;
  int height = 0;
  bool busy = false;

  OffscreenPicture() = default;
  OffscreenPicture(const OffscreenPicture&) = delete;
  OffscreenPicture& operator=(const OffscreenPicture&) = delete;
  ~OffscreenPicture() { Release(); }

  void Release() {
    if (dc && previous) SelectObject(dc.get(), previous);
    previous = nullptr;
    bits = nullptr;
    image.reset();
    dc.reset();
    width = height = 0;
  }

  // Ready for `width` x `height`, made anew when the size changed. The
  // message of what failed, or none.
  const char* Make(HDC like, int w, int h) {
    if (dc && w == width && h == height) return nullptr;
    Release();
    dc = ScopedDC::Compatible(like);
    if (!dc) return "CreateCompatibleDC failed!";
    BITMAPINFO info = TopDown32(w, h);
    image.reset(CreateDIBSection(like, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    previous = image && bits ? SelectObject(dc.get(), image.get()) : nullptr;
    if (!previous || previous == HGDI_ERROR) {
      previous = nullptr;
      Release();
      return "CreateCompatibleBitmap failed!";
    }
    width = w;
    height = h;
    return nullptr;
  }
};

// Renders the control over the tiled background into `dc`, which shows the
// control's client area at its origin. Answers the message of the first
// step that failed, or none; a failed step does not stop the later ones
// that can still run, so the control at worst shows its own colours.
const char* PaintOver(HWND control, HBITMAP background, WNDPROC previous, HDC dc) {
  RECT client = {};
  GetClientRect(control, &client);
  const int width = client.right - client.left;
  const int height = client.bottom - client.top;
  if (width <= 0 || height <= 0 || !dc) return nullptr;

  // Kept from paint to paint while the size stays (making it costs more
  // than the rest of a paint); a paint within a paint gets one of its own.
  static OffscreenPicture shared;
  OffscreenPicture own;
  OffscreenPicture& offscreen = shared.busy ? own : shared;
  const char* made = offscreen.Make(dc, width, height);
  if (made) return made;
  HDC memory = offscreen.dc.get();
  // Whatever the control leaves selected or set in the DC goes with the
  // paint.
  offscreen.busy = true;
  struct Done {
    OffscreenPicture& picture;
    int saved;
    ~Done() {
      RestoreDC(picture.dc.get(), saved);
      picture.busy = false;
    }
  } done{offscreen, SaveDC(memory)};
  void* bits = offscreen.bits;

  PixelImage picture = {static_cast<Pixel*>(bits), width, height, width};
  // What the control leaves unpainted counts as its background.
  const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
  for (size_t i = 0; i < count; ++i) picture.pixels[i] = kKeyPixel;
  // The previous procedure itself, not the window: our own subclass would
  // answer the print by coming back here.
  CallWindowProcA(previous, control, WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory), 0);
  CallWindowProcA(previous, control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
  GdiFlush();

  const char* failure = nullptr;
  int tileWidth = 0;
  int tileHeight = 0;
  std::vector<Pixel> tile = ReadPixels(memory, background, tileWidth, tileHeight);
  ConstPixelImage drawn = {picture.pixels, width, height, width};
  ConstPixelImage tiles = {tile.data(), tileWidth, tileHeight, tileWidth};
  if (tile.empty() || !ComposeOverBackground(drawn, tiles, 0, 0, kKeyPixel, picture))
    failure = "Masking failed!";

  if (!BitBlt(dc, 0, 0, width, height, memory, 0, 0, SRCCOPY) && !failure) failure = "BitBlt failed!";
  return failure;
}

}  // namespace

BITMAPINFO TopDown32(int width, int height) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

LRESULT PaintControlTransparently(HWND control, HBITMAP background, WNDPROC previous, HDC target) {
  if (!control) return 0;
  // Warnings wait until the paint has ended: a message box inside it would
  // bring the same paint back before the first box is answered.
  const char* failure = nullptr;
  bool painted = false;
  if (!background) {
    if (!target) ValidateRect(control, nullptr);
    failure = "No background image!";
  } else if (!target && control != App().currentView) {
    // The views lie on top of one another; only the one in front paints.
    ValidateRect(control, nullptr);
  } else if (!previous) {
    // Nothing to render the control with.
    if (!target) ValidateRect(control, nullptr);
  } else if (target) {
    failure = PaintOver(control, background, previous, target);
    painted = true;
  } else {
    ScopedPaint paint(control);
    failure = PaintOver(control, background, previous, paint.dc());
    painted = true;
  }

  // An edit box over a tree label is a child window of its own; it paints
  // after us, on top.
  HWND edit = static_cast<HWND>(App().labelEdit);
  if (painted && edit && IsWindow(edit)) InvalidateRect(edit, nullptr, TRUE);
  if (failure) ShowWarning(failure);
  return 0;
}
