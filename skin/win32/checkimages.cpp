#include "skin/win32/checkimages.h"

#include "base/win32/dpi.h"
#include "base/win32/scoped.h"

namespace {

// The picture grown as the box's cell grows from 16 to `side`.
HBITMAP ForCell(HBITMAP picture, int side) {
  BITMAP info = {};
  if (!GetObjectA(picture, sizeof info, &info)) return nullptr;
  return StretchedBitmap(picture, MulDiv(info.bmWidth, side, kCheckBoxSide),
                         MulDiv(info.bmHeight, side, kCheckBoxSide));
}

}  // namespace

HIMAGELIST MakeCheckBoxImages(HBITMAP empty, HBITMAP checked, int side) {
  if (!empty || !checked || side <= 0) return nullptr;
  ScopedGdiObject<HBITMAP> emptyBox(ForCell(empty, side));
  ScopedGdiObject<HBITMAP> checkedBox(ForCell(checked, side));
  if (!emptyBox || !checkedBox) return nullptr;
  ScopedImageList list(ImageList_Create(side, side, ILC_COLOR24, 3, 3));
  if (!list) return nullptr;
  if (ImageList_Add(list.get(), emptyBox.get(), nullptr) < 0 || ImageList_Add(list.get(), emptyBox.get(), nullptr) < 0 ||
      ImageList_Add(list.get(), checkedBox.get(), nullptr) < 0)
    return nullptr;
  return list.release();
}
