// The forest conformance suite on the real control: each forest is a tree
// made as the program makes it, under the stand-in main window.
#include <windows.h>

#include <commctrl.h>

#include "tests/conformance/forest_conformance.h"
#include "tests/win32/tree_window.h"

namespace {

struct TreeViewFactory {
  static std::unique_ptr<TaskForest> Make(bool checkBoxes) { return MakeTreeForest(checkBoxes); }
  static Handle MakeImageList() { return ImageList_Create(1, 1, ILC_COLOR16, 0, 0); }
  static void FreeImageList(Handle list) { ImageList_Destroy(static_cast<HIMAGELIST>(list)); }
  static void Pump() { PumpMessages(); }
};

}  // namespace

INSTANTIATE_TYPED_TEST_SUITE_P(TreeView, ForestConformance, TreeViewFactory);
