#include "skin/win32/skinlook.h"

#include <commctrl.h>

#include <utility>

#include "base/appstate.h"
#include "base/boundedtext.h"
#include "base/prompts.h"
#include "base/scale.h"
#include "base/win32/dpi.h"
#include "base/win32/handles.h"
#include "base/win32/scoped.h"
#include "base/win32/workarea.h"
#include "skin/skinlayout.h"
#include "skin/win32/checkimages.h"
#include "skin/win32/skinfiles.h"

namespace {

const COLORREF kKey = RGB(250, 50, 250);
const COLORREF kPlainLines = RGB(128, 128, 128);
const COLORREF kPlainTitle = RGB(80, 140, 200);
// TVM_SETTEXTCOLOR with this goes back to the system's colour.
const COLORREF kSystemColour = static_cast<COLORREF>(-1);

HWND Trees(int index) {
  AppState& app = App();
  Handle trees[3] = {app.listsTree, app.activeTree, app.doneTree};
  return Window(trees[index]);
}

void ColourTrees(COLORREF text, COLORREF lines, const int* indent) {
  for (int i = 0; i < 3; ++i) {
    HWND tree = Trees(i);
    if (!tree) continue;
    SendMessageA(tree, TVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(text));
    SendMessageA(tree, TVM_SETLINECOLOR, 0, static_cast<LPARAM>(lines));
    SendMessageA(tree, TVM_SETBKCOLOR, 0, static_cast<LPARAM>(kKey));
    if (indent) SendMessageA(tree, TVM_SETINDENT, static_cast<WPARAM>(*indent), 0);
  }
}

void ColourCalendar(COLORREF text, COLORREF titleText, COLORREF title) {
  HWND calendar = Window(App().calendar);
  if (!calendar) return;
  SendMessageA(calendar, MCM_SETCOLOR, MCSC_TEXT, static_cast<LPARAM>(text));
  SendMessageA(calendar, MCM_SETCOLOR, MCSC_TITLETEXT, static_cast<LPARAM>(titleText));
  SendMessageA(calendar, MCM_SETCOLOR, MCSC_BACKGROUND, static_cast<LPARAM>(kKey));
  SendMessageA(calendar, MCM_SETCOLOR, MCSC_MONTHBK, static_cast<LPARAM>(kKey));
  SendMessageA(calendar, MCM_SETCOLOR, MCSC_TITLEBK, static_cast<LPARAM>(title));
}

// The state images of the trees that have check boxes (only Lists).
void UseCheckImages(Handle images) {
  for (int i = 0; i < 3; ++i) {
    HWND tree = Trees(i);
    if (tree && (GetWindowLongPtrA(tree, GWL_STYLE) & TVS_CHECKBOXES))
      SendMessageA(tree, TVM_SETIMAGELIST, TVSIL_STATE, reinterpret_cast<LPARAM>(images));
  }
}

// Every tree's rows as high as the check boxes it may show.
void RowsForCheckBoxes(Handle images) {
  int width = 0, height = 0;
  if (!images || !ImageList_GetIconSize(static_cast<HIMAGELIST>(images), &width, &height)) return;
  for (int i = 0; i < 3; ++i)
    if (HWND tree = Trees(i)) SendMessageA(tree, TVM_SETITEMHEIGHT, static_cast<WPARAM>(height), 0);
}

// A change of look restyles the window where it stands: hidden first and
// shown again, it vanished, and under Wine the pair cost about 2 s. Its
// visibility is kept.
void Restyle(HWND main, LONG_PTR style) {
  SetWindowLongPtrA(main, GWL_STYLE, style | (GetWindowLongPtrA(main, GWL_STYLE) & WS_VISIBLE));
}

// The views follow the window's new size (the main window's layout).
void LayOutViews(HWND main) {
  RECT client;
  GetClientRect(main, &client);
  SendMessageA(main, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
}

// A slot's picture grown by the skin's whole multiple, pixel for pixel.
HBITMAP Decode(HDC dc, const SkinFile& file, int slot, int multiple) {
  HBITMAP decoded = DecodeSlotBitmap(dc, file.slots[slot]);
  BITMAP info = {};
  if (!decoded || multiple <= 1 || !GetObjectA(decoded, sizeof info, &info)) return decoded;
  HBITMAP grown = StretchedBitmap(decoded, MultiplySaturated(info.bmWidth, multiple),
                                  MultiplySaturated(info.bmHeight, multiple));
  DeleteObject(decoded);
  return grown;
}

SkinPictures BuildSkinPictures(const SkinFile& file, int multiple) {
  SkinPictures made;
  // A device context of the display: the bitmaps are made for it.
  ScopedDC screen = ScopedDC::ForWindow(nullptr);
  HDC dc = screen.get();
  made.windowBackground.reset(Decode(dc, file, kSlotWindowBackground, multiple));
  made.treeBackground.reset(Decode(dc, file, kSlotTreeBackground, multiple));
  if (!file.slots[kSlotCheckEmpty].empty() && !file.slots[kSlotCheckChecked].empty()) {
    ScopedGdiObject<HBITMAP> empty(Decode(dc, file, kSlotCheckEmpty, 1));
    ScopedGdiObject<HBITMAP> checked(Decode(dc, file, kSlotCheckChecked, 1));
    made.checkImages.reset(
        static_cast<HIMAGELIST>(MakeCheckBoxImages(empty.get(), checked.get(), kCheckBoxSide * multiple)));
  }
  for (int button = 0; button < kSkinButtonCount; ++button)
    for (int picture = 0; picture < 3; ++picture)
      made.buttons[button][picture].reset(Decode(dc, file, ButtonSlot(button, picture), multiple));
  return made;
}

// The pictures of the program's skin record, which the record only names.
SkinPictures& OwnedPictures() {
  static SkinPictures pictures;
  return pictures;
}

void NamePictures(const SkinPictures& pictures, Skin* skin) {
  skin->windowBackground = pictures.windowBackground.get();
  skin->treeBackground = pictures.treeBackground.get();
  skin->checkImages = pictures.checkImages.get();
  for (int button = 0; button < kSkinButtonCount; ++button)
    for (int picture = 0; picture < 3; ++picture)
      skin->buttons[button].pictures[picture] = pictures.buttons[button][picture].get();
}

}  // namespace

void ReleaseSkinPictures() {
  OwnedPictures() = SkinPictures();
  NamePictures(OwnedPictures(), &CurrentSkin().skin);
}

int ReadAndBuildSkin(const char* path, SkinPictures* replaced, int dpi) {
  SkinFileSource source(path, FILE_SHARE_READ);
  if (!source.ok()) return 0;
  SkinFile file;
  const SkinReadResult result = ReadSkinForOrganiser(source, &file);
  if (result != SkinReadResult::kRead) {
    ShowWarning(SkinReadMessage(result));
    return 0;
  }
  Skin built = {};
  built.serial = NewSkinSerial();
  SetSkinGeometry(file.values, &built);
  const int multiple = SkinMultipleForDpi(dpi);
  MultiplySkinGeometry(&built, multiple);
  *replaced = std::move(OwnedPictures());
  OwnedPictures() = BuildSkinPictures(file, multiple);
  NamePictures(OwnedPictures(), &built);
  CurrentSkin().skin = built;
  return 1;
}

void ApplySkinnedLook(HWND main) {
  SkinState& state = CurrentSkin();
  const Skin& skin = state.skin;
  AppState& app = App();
  state.skinned = true;
  RECT before;
  GetWindowRect(main, &before);
  // Children clipped: the frame is painted around the views, never under
  // them, so nothing flickers.
  Restyle(main, WS_POPUP | WS_CLIPCHILDREN);
  const Size size = SkinWindowSize(skin);
  const Rect place = ResizeSkinnedWindow(ToRect(before), size, WorkArea());
  SetWindowPos(main, nullptr, place.left, place.top, size.width, size.height,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  LayOutViews(main);
  if (HWND tabs = Window(app.tabControl)) ShowWindow(tabs, SW_HIDE);

  const int indent = 10 * (skin.multiple > 1 ? skin.multiple : 1);
  ColourTrees(skin.textColor, skin.backColor, &indent);
  RowsForCheckBoxes(skin.checkImages ? skin.checkImages : app.defaultCheckImages);
  ColourCalendar(skin.textColor, CalendarTitleTextColor(skin), skin.backColor);
  UseCheckImages(skin.checkImages ? skin.checkImages : app.defaultCheckImages);

  const int corner = SkinCornerEllipse(skin);
  ScopedGdiObject<HRGN> outline(CreateRoundRectRgn(0, 0, size.width, size.height, corner, corner));
  // The window owns the region once it is set.
  if (outline && SetWindowRgn(main, outline.get(), TRUE)) outline.release();
  app.treeBackground = skin.treeBackground;
}

void ApplyPlainLook(HWND main) {
  AppState& app = App();
  CurrentSkin().skinned = false;
  Restyle(main, WS_OVERLAPPEDWINDOW);
  SetWindowPos(main, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  // A frame with a caption and a rounded outline cut from the last skin
  // would lose its corners: the plain window is whole.
  SetWindowRgn(main, nullptr, TRUE);
  if (HWND tabs = Window(app.tabControl)) ShowWindow(tabs, SW_SHOW);
  LayOutViews(main);
  ColourTrees(kSystemColour, kPlainLines, nullptr);
  ColourCalendar(RGB(0, 0, 0), RGB(0, 0, 0), kPlainTitle);
  UseCheckImages(app.defaultCheckImages);
  RowsForCheckBoxes(app.defaultCheckImages);
  app.treeBackground = app.defaultBackground;
}

int LoadSkin(HWND main, const char* path, bool show, int dpi) {
  if (!path || !*path) {
    ApplyPlainLook(main);
    return 0;
  }
  uint64_t size = 0;
  {
    SkinFileSource file(path, FILE_SHARE_READ);
    if (!file.ok()) return 0;
    size = file.size();
  }
  if (size == kPlainLookFileSize) {
    ApplyPlainLook(main);
  } else {
    SkinPictures replaced;
    if (!ReadAndBuildSkin(path, &replaced, dpi > 0 ? dpi : WindowDpi(main))) return 0;
    ApplySkinnedLook(main);
    // Nothing shows the old skin's bitmaps any more: they go with `replaced`.
  }
  if (show) ShowWindow(main, SW_SHOW);
  CopyField(App().skinPath, path);
  return 1;
}
