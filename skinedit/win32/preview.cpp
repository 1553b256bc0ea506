#include "skinedit/win32/preview.h"

#include <cstring>
#include <memory>
#include <utility>

#include "base/win32/scoped.h"
#include "skin/compose.h"
#include "skin/win32/skinfiles.h"
#include "skinedit/bitmapfile.h"

namespace {

struct PreviewContents {
  SlotImage image;
  ScopedGdiObject<HBITMAP> picture;
};

PreviewContents* ContentsOf(HWND preview) {
  return reinterpret_cast<PreviewContents*>(GetWindowLongPtrA(preview, GWLP_USERDATA));
}

// The picture the preview shows: the whole image fitted into the preview's
// box, a check box's key colour shown as the page's face. A bitmap the
// decoder leaves alone (compressed pixels) shows as the system makes it.
HBITMAP MakeShownPicture(HWND preview, const SlotImage& image) {
  BmpImage decoded;
  if (!DecodeBmp(image.data(), image.size(), &decoded)) {
    ScopedDC dc = ScopedDC::ForWindow(GetParent(preview));
    return dc ? DecodeSlotBitmap(dc.get(), image) : nullptr;
  }
  RECT box;
  GetClientRect(preview, &box);
  const Pixel face = PixelFromColor(GetSysColor(COLOR_BTNFACE));
  const BmpImage shown = FitPreviewPicture(decoded, box.right - box.left, box.bottom - box.top,
                                           PreviewShowsCheckBox(GetDlgCtrlID(preview)), face);
  if (shown.pixels.empty()) return nullptr;
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = shown.width;
  info.bmiHeader.biHeight = -shown.height;  // top-down, as the rows are
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP picture = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (picture) std::memcpy(bits, shown.pixels.data(), shown.pixels.size() * sizeof(Pixel));
  return picture;
}

}  // namespace

void SetPreview(HWND preview, SlotImage image) {
  if (!preview) return;
  std::unique_ptr<PreviewContents> next;
  if (!image.empty()) {
    next.reset(new PreviewContents{std::move(image), {}});
    next->picture.reset(MakeShownPicture(preview, next->image));
  }
  std::unique_ptr<PreviewContents> previous(ContentsOf(preview));
  const LPARAM shown = reinterpret_cast<LPARAM>(next ? next->picture.get() : nullptr);
  auto old = reinterpret_cast<HBITMAP>(SendMessageA(preview, STM_SETIMAGE, IMAGE_BITMAP, shown));
  // Given a bitmap with alpha, the control shows a copy of its own, which
  // comes back here when replaced: that copy is ours to free.
  if (old && (!previous || old != previous->picture.get())) DeleteObject(old);
  SetWindowLongPtrA(preview, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(next.release()));
  // `previous` goes here, with its bytes and its bitmap.
}

const SlotImage* PreviewImage(HWND preview) {
  const PreviewContents* contents = preview ? ContentsOf(preview) : nullptr;
  return contents ? &contents->image : nullptr;
}
