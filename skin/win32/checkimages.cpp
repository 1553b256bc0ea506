#include "skin/win32/checkimages.h"

#include "base/win32/scoped.h"

HIMAGELIST MakeCheckBoxImages(HBITMAP empty, HBITMAP checked) {
  if (!empty || !checked) return nullptr;
  ScopedImageList list(ImageList_Create(16, 16, ILC_COLOR24, 3, 3));
  if (!list) return nullptr;
  if (ImageList_Add(list.get(), empty, nullptr) < 0 || ImageList_Add(list.get(), empty, nullptr) < 0 ||
      ImageList_Add(list.get(), checked, nullptr) < 0)
    return nullptr;
  return list.release();
}
