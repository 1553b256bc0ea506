// The Win32 suite's entry: the common controls are registered once, before
// any test makes a tree window.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
  INITCOMMONCONTROLSEX controls = {sizeof controls,
                                   ICC_TREEVIEW_CLASSES | ICC_STANDARD_CLASSES | ICC_HOTKEY_CLASS};
  if (!InitCommonControlsEx(&controls)) {
    fprintf(stderr, "InitCommonControlsEx failed\n");
    return 1;
  }
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
