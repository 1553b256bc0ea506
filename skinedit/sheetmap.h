// The skin editor's sheet: its seven pages and the place of every skin
// value and bitmap slot on them. Loading and saving walk these tables in
// row order, so they are the whole link between the skin file and the
// pages' controls.
#pragma once

#include "skin/skinfile.h"

// The pages' dialog resources.
constexpr int kWindowPageDialog = 401;  // "Main Dialog"
constexpr int kButtonPageDialog = 402;  // "Button Dialog", five pages
constexpr int kTreePageDialog = 403;    // "TreeView Dialog"

constexpr int kPageCount = 7;

struct PageSpec {
  const char* title;
  int dialog;
};
// In the sheet's order: "Window", "Tree", "Close", "Lists", "Active",
// "Done", "Calendar".
extern const PageSpec kPages[kPageCount];

// A control of one page: the page's index in the sheet and the control's id.
struct SheetPlace {
  int page;
  int control;
};

// The number edit of each skin value, in value order.
extern const SheetPlace kFieldMap[kSkinValueCount];
// The bitmap preview of each slot, in slot order.
extern const SheetPlace kSlotMap[kSkinSlotCount];

// The buttons that load a .bmp file into a preview: 250, 252, ... 262, each
// for the preview whose id is one higher.
constexpr int kFirstLoadButton = 250;
constexpr int kLastLoadButton = 262;
constexpr bool IsLoadButton(int id) {
  return id >= kFirstLoadButton && id <= kLastLoadButton && (id - kFirstLoadButton) % 2 == 0;
}
constexpr bool IsPreview(int id) {
  return IsLoadButton(id - 1);
}
constexpr int PreviewOfButton(int button) {
  return button + 1;
}
