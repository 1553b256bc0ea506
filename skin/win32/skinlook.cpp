#include "skin/win32/skinlook.h"

#include <commctrl.h>

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

void ColourCalendar(COLORREF text, COLORREF title) {
  HWND calendar = Window(App().calendar);
  if (!calendar) return;
  SendMessageA(calendar, MCM_SETCOLOR, MCSC_TEXT, static_cast<LPARAM>(text));
  SendMessageA(calendar, MCM_SETCOLOR, MCSC_TITLETEXT, static_cast<LPARAM>(text));
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

void BuildSkinObjects(const SkinFile& file, int multiple, Skin* skin) {
  // A device context of the display: the bitmaps are made for it.
  ScopedDC screen = ScopedDC::ForWindow(nullptr);
  HDC dc = screen.get();
  skin->windowBackground = Decode(dc, file, kSlotWindowBackground, multiple);
  skin->treeBackground = Decode(dc, file, kSlotTreeBackground, multiple);
  if (!file.slots[kSlotCheckEmpty].empty() && !file.slots[kSlotCheckChecked].empty()) {
    ScopedGdiObject<HBITMAP> empty(Decode(dc, file, kSlotCheckEmpty, 1));
    ScopedGdiObject<HBITMAP> checked(Decode(dc, file, kSlotCheckChecked, 1));
    skin->checkImages = MakeCheckBoxImages(empty.get(), checked.get(), kCheckBoxSide * multiple);
  }
  for (int button = 0; button < kSkinButtonCount; ++button)
    for (int picture = 0; picture < 3; ++picture)
      skin->buttons[button].pictures[picture] = Decode(dc, file, ButtonSlot(button, picture), multiple);
}

}  // namespace

void ReleaseSkinObjects(Skin& skin) {
  auto release = [](Handle& bitmap) {
    if (bitmap) DeleteObject(static_cast<HGDIOBJ>(bitmap));
    bitmap = nullptr;
  };
  release(skin.windowBackground);
  release(skin.treeBackground);
  for (SkinButton& button : skin.buttons)
    for (Handle& picture : button.pictures) release(picture);
  if (skin.checkImages) ImageList_Destroy(static_cast<HIMAGELIST>(skin.checkImages));
  skin.checkImages = nullptr;
}

int ReadAndBuildSkin(const char* path, Skin* replaced) {
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
  const int multiple = SkinMultipleForDpi(WindowDpi(Window(App().mainWindow)));
  MultiplySkinGeometry(&built, multiple);
  BuildSkinObjects(file, multiple, &built);
  *replaced = CurrentSkin().skin;
  CurrentSkin().skin = built;
  return 1;
}

void ApplySkinnedLook(HWND main) {
  SkinState& state = CurrentSkin();
  const Skin& skin = state.skin;
  AppState& app = App();
  state.skinned = true;
  ShowWindow(main, SW_HIDE);
  // Children clipped: the frame is painted around the views, never under
  // them, so nothing flickers.
  SetWindowLongPtrA(main, GWL_STYLE, WS_POPUP | WS_CLIPCHILDREN);
  const Size size = SkinWindowSize(skin);
  SetWindowPos(main, nullptr, 0, 0, size.width, size.height,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  RECT now;
  GetWindowRect(main, &now);
  const Rect kept = KeepSkinnedWindowOnWorkArea(ToRect(now), WorkArea());
  if (kept.left != now.left || kept.top != now.top)
    SetWindowPos(main, nullptr, kept.left, kept.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  LayOutViews(main);
  if (HWND tabs = Window(app.tabControl)) ShowWindow(tabs, SW_HIDE);

  const int indent = 10 * SkinMultipleForDpi(WindowDpi(main));
  ColourTrees(skin.textColor, skin.backColor, &indent);
  RowsForCheckBoxes(skin.checkImages ? skin.checkImages : app.defaultCheckImages);
  ColourCalendar(skin.textColor, skin.backColor);
  UseCheckImages(skin.checkImages ? skin.checkImages : app.defaultCheckImages);

  const int corner = SkinCornerEllipse(skin);
  HRGN outline = CreateRoundRectRgn(0, 0, size.width, size.height, corner, corner);
  // The window owns the region once it is set.
  if (outline && !SetWindowRgn(main, outline, TRUE)) DeleteObject(outline);
  app.treeBackground = skin.treeBackground;
}

void ApplyPlainLook(HWND main) {
  AppState& app = App();
  CurrentSkin().skinned = false;
  ShowWindow(main, SW_HIDE);
  SetWindowLongPtrA(main, GWL_STYLE, WS_OVERLAPPEDWINDOW);
  SetWindowPos(main, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  // A frame with a caption and a rounded outline cut from the last skin
  // would lose its corners: the plain window is whole.
  SetWindowRgn(main, nullptr, TRUE);
  if (HWND tabs = Window(app.tabControl)) ShowWindow(tabs, SW_SHOW);
  LayOutViews(main);
  ColourTrees(kSystemColour, kPlainLines, nullptr);
  ColourCalendar(RGB(0, 0, 0), kPlainTitle);
  UseCheckImages(app.defaultCheckImages);
  RowsForCheckBoxes(app.defaultCheckImages);
  app.treeBackground = app.defaultBackground;
}

int LoadSkin(HWND main, const char* path, bool show) {
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
    Skin replaced = {};
    if (!ReadAndBuildSkin(path, &replaced)) return 0;
    ApplySkinnedLook(main);
    // Nothing shows the old skin's bitmaps any more.
    ReleaseSkinObjects(replaced);
  }
  if (show) ShowWindow(main, SW_SHOW);
  CopyField(App().skinPath, path);
  return 1;
}
