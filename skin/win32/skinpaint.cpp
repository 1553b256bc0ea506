#include "skin/win32/skinpaint.h"

#include <climits>

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

// The window's background bitmap, and the skin's back colour where it does
// not reach.
void PaintBackground(HDC dc, HDC scratch) {
  const Skin& skin = CurrentSkin().skin;
  const Size window = SkinWindowSize(skin);
  const Size picture = BitmapSize(static_cast<HBITMAP>(skin.windowBackground));
  if (picture.width < window.width || picture.height < window.height) {
    RECT all = {0, 0, window.width, window.height};
    ScopedGdiObject<HBRUSH> back(CreateSolidBrush(skin.backColor));
    if (back) FillRect(dc, &all, back.get());
  }
  CopyPicture(dc, scratch, skin.windowBackground, Rect{0, 0, window.width, window.height}, window);
}

// The frame as last painted, background and buttons, kept off-screen: a
// repaint that changes nothing is then one copy. It is painted anew for
// another skin or when a button's picture changed.
class FrameCache {
 public:
  FrameCache() = default;
  FrameCache(const FrameCache&) = delete;
  FrameCache& operator=(const FrameCache&) = delete;
  ~FrameCache() { Release(); }

  // A memory DC holding the frame of the skin as it is now; none when
  // there is no memory for it.
  HDC For(HDC like) {
    const SkinState& state = CurrentSkin();
    const Size window = SkinWindowSize(state.skin);
    if (dc_ && serial_ == state.skin.serial && hover_ == state.hoverButton &&
        selected_ == state.selectedButton)
      return dc_.get();
    if (!dc_ || serial_ != state.skin.serial) {
      Release();
      dc_ = ScopedDC::Compatible(like);
      bitmap_.reset(CreateCompatibleBitmap(like, window.width, window.height));
      previous_ = dc_ && bitmap_ ? SelectObject(dc_.get(), bitmap_.get()) : nullptr;
      if (!previous_ || previous_ == HGDI_ERROR) {
        Release();
        return nullptr;
      }
    }
    ScopedDC scratch = ScopedDC::Compatible(like);
    if (!scratch) return nullptr;
    PaintBackground(dc_.get(), scratch.get());
    PaintButtonsWith(dc_.get(), scratch.get());
    serial_ = state.skin.serial;
    hover_ = state.hoverButton;
    selected_ = state.selectedButton;
    return dc_.get();
  }

 private:
  void Release() {
    if (dc_ && previous_ && previous_ != HGDI_ERROR) SelectObject(dc_.get(), previous_);
    previous_ = nullptr;
    dc_.reset();
    bitmap_.reset();
    serial_ = 0;
  }

  ScopedDC dc_;
  ScopedGdiObject<HBITMAP> bitmap_;
  HGDIOBJ previous_ = nullptr;
  uint32_t serial_ = 0;
  int hover_ = 0;
  int selected_ = 0;
};

FrameCache gFrame;

// The frame on `dc`: one copy of the frame kept off-screen, or, without
// memory for that, painted straight on.
void PaintFrame(HDC dc, Size window) {
  if (HDC frame = gFrame.For(dc)) {
    BitBlt(dc, 0, 0, window.width, window.height, frame, 0, 0, SRCCOPY);
  } else if (ScopedDC scratch = ScopedDC::Compatible(dc)) {
    PaintBackground(dc, scratch.get());
    PaintButtonsWith(dc, scratch.get());
  }
}

// The buttons repainted on the window itself, each with the background
// under it, so that a picture that was shown and is no more (a skin's
// button without a normal picture) does not linger.
void RepaintButtons(HWND main) {
  if (!IsSkinned()) return;
  ScopedDC dc = ScopedDC::ForWindow(main);
  if (!dc) return;
  const Skin& skin = CurrentSkin().skin;
  const Size window = SkinWindowSize(skin);
  ScopedGdiObject<HRGN> buttons(CreateRectRgn(0, 0, 0, 0));
  for (const SkinButton& button : skin.buttons) {
    const Rect area = VisibleCopy(button.rect, window, Size{INT_MAX, INT_MAX});
    if (IsEmptyRect(area)) continue;
    ScopedGdiObject<HRGN> part(CreateRectRgn(area.left, area.top, area.right, area.bottom));
    if (buttons && part) CombineRgn(buttons.get(), buttons.get(), part.get(), RGN_OR);
  }
  const int saved = SaveDC(dc.get());
  if (buttons && ExtSelectClipRgn(dc.get(), buttons.get(), RGN_AND) != ERROR) PaintFrame(dc.get(), window);
  RestoreDC(dc.get(), saved);
}

}  // namespace

LRESULT PaintSkinnedWindow(HWND main) {
  if (!IsSkinned()) return 0;
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(main, &paint);
  PaintFrame(dc, SkinWindowSize(CurrentSkin().skin));
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
