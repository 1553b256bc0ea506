#include "skinedit/win32/preview.h"

#include <memory>
#include <utility>

#include "base/win32/scoped.h"
#include "skin/win32/skinfiles.h"

namespace {

struct PreviewContents {
  SlotImage image;
  ScopedGdiObject<HBITMAP> picture;
};

PreviewContents* ContentsOf(HWND preview) {
  return reinterpret_cast<PreviewContents*>(GetWindowLongPtrA(preview, GWLP_USERDATA));
}

}  // namespace

void SetPreview(HWND preview, SlotImage image) {
  if (!preview) return;
  std::unique_ptr<PreviewContents> next;
  if (!image.empty()) {
    next.reset(new PreviewContents{std::move(image), {}});
    // Made against the page's device context, as the page shows it.
    ScopedDC dc = ScopedDC::ForWindow(GetParent(preview));
    if (dc) next->picture.reset(DecodeSlotBitmap(dc.get(), next->image));
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
