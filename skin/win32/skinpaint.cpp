#include "skin/win32/skinpaint.h"

#include "base/win32/scoped.h"
#include "skin/skinlayout.h"

namespace {

Size BitmapSize(HBITMAP bitmap) {
  BITMAP shape = {};
  if (!bitmap || !GetObjectA(bitmap, sizeof shape, &shape)) return Size{0, 0};
  return Size{shape.bmWidth, shape.bmHeight};
}

// Copies the top-left corner of `picture` to `to` on `dc`, as much of it as
// lies in the window and in the picture. `scratch` is a memory DC to hold
// the picture meanwhile.
void CopyPicture(HDC dc, HDC scratch, Handle picture, const Rect& to, Size window) {
  HBITMAP bitmap = static_cast<HBITMAP>(picture);
  const Rect visible = VisibleCopy(to, window, BitmapSize(bitmap));
  if (IsEmptyRect(visible)) return;
  ScopedSelect select(scratch, bitmap);
  if (!select.ok()) return;
  BitBlt(dc, visible.left, visible.top, visible.right - visible.left, visible.bottom - visible.top, scratch,
         visible.left - to.left, visible.top - to.top, SRCCOPY);
}

void PaintButtonsWith(HDC dc, HDC scratch) {
  const SkinState& state = CurrentSkin();
  const Size window = SkinWindowSize(state.skin);
  for (const ButtonPaint& paint : ButtonPaints(state.skin, state.hoverButton, state.selectedButton))
    CopyPicture(dc, scratch, paint.picture, paint.rect, window);
}

// The window's background where no bitmap covers it: the skin's back colour.
void PaintBackground(HDC dc, HDC scratch) {
  const Skin& skin = CurrentSkin().skin;
  const Size window = SkinWindowSize(skin);
  RECT all = {0, 0, window.width, window.height};
  ScopedGdiObject<HBRUSH> back(CreateSolidBrush(skin.backColor));
  if (back) FillRect(dc, &all, back.get());
  CopyPicture(dc, scratch, skin.windowBackground, Rect{0, 0, window.width, window.height}, window);
}

// The buttons repainted on the window itself, each over the background
// that lies under it, so that a picture that was shown and is no more
// (a skin's button without a normal picture) does not linger.
void RepaintButtons(HWND main) {
  if (!IsSkinned()) return;
  ScopedDC dc = ScopedDC::ForWindow(main);
  ScopedDC scratch = ScopedDC::Compatible(dc.get());
  if (!dc || !scratch) return;
  const Skin& skin = CurrentSkin().skin;
  const Size window = SkinWindowSize(skin);
  ScopedGdiObject<HRGN> under(CreateRectRgn(0, 0, 0, 0));
  for (const SkinButton& button : skin.buttons) {
    const Rect area = VisibleCopy(button.rect, window, window);
    if (IsEmptyRect(area)) continue;
    ScopedGdiObject<HRGN> part(CreateRectRgn(area.left, area.top, area.right, area.bottom));
    if (under && part) CombineRgn(under.get(), under.get(), part.get(), RGN_OR);
  }
  const int saved = SaveDC(dc.get());
  if (under && ExtSelectClipRgn(dc.get(), under.get(), RGN_AND) != ERROR)
    PaintBackground(dc.get(), scratch.get());
  RestoreDC(dc.get(), saved);
  PaintButtonsWith(dc.get(), scratch.get());
}

}  // namespace

LRESULT PaintSkinnedWindow(HWND main) {
  if (!IsSkinned()) return 0;
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(main, &paint);
  const Size window = SkinWindowSize(CurrentSkin().skin);
  ScopedDC scratch = ScopedDC::Compatible(dc);
  // The frame is put together off-screen and reaches the window in one
  // copy; without memory for that it is painted straight on.
  ScopedDC frame = ScopedDC::Compatible(dc);
  ScopedGdiObject<HBITMAP> picture(CreateCompatibleBitmap(dc, window.width, window.height));
  ScopedSelect select(frame.get(), picture.get());
  HDC target = frame && picture && select.ok() ? frame.get() : dc;
  if (scratch) {
    PaintBackground(target, scratch.get());
    PaintButtonsWith(target, scratch.get());
  }
  if (target != dc) BitBlt(dc, 0, 0, window.width, window.height, target, 0, 0, SRCCOPY);
  return EndPaint(main, &paint);
}

void PaintButtons(HDC dc) {
  if (!IsSkinned() || !dc) return;
  ScopedDC scratch = ScopedDC::Compatible(dc);
  if (scratch) PaintButtonsWith(dc, scratch.get());
}

void SelectButtonForTab(HWND main, int tab) {
  SkinState& state = CurrentSkin();
  if (!state.skinned || state.selectedButton == ButtonOfTab(tab)) return;
  state.selectedButton = ButtonOfTab(tab);
  RepaintButtons(main);
}

void SetHover(HWND main, int button) {
  SkinState& state = CurrentSkin();
  if (state.hoverButton == button) return;
  state.hoverButton = button;
  RepaintButtons(main);
}

void ClearHover(HWND main) {
  CurrentSkin().hoverButton = -1;
  RepaintButtons(main);
}
