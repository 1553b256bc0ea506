// The differential runs' world on the real tree-view controls.
#include <windows.h>

#include <commctrl.h>

#include "tests/differential/world.h"
#include "tests/win32/tree_window.h"

std::unique_ptr<World> ControlWorld() {
  return std::make_unique<World>(MakeTreeForest(true), MakeTreeForest(false), MakeTreeForest(false));
}

void InitCommonControlsForTrees() {
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_TREEVIEW_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
}
