#include "tests/win32/tree_window.h"

#include <commctrl.h>

#include "tree/win32/tasktree_win32.h"

namespace {

LRESULT CALLBACK TestMainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      if (header->code == static_cast<UINT>(NM_CUSTOMDRAW))
        return OnTreeCustomDraw(reinterpret_cast<NMTVCUSTOMDRAW*>(lParam));
      return ForwardTreeNotify(header);
    }
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace

HWND TestMainWindow() {
  static HWND window = nullptr;
  if (window && IsWindow(window)) return window;
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA cls = {};
  cls.lpfnWndProc = TestMainProc;
  cls.hInstance = instance;
  cls.hCursor = LoadCursor(nullptr, IDC_ARROW);
  cls.lpszClassName = "VelkinTestMain";
  RegisterClassA(&cls);
  RECT frame = {0, 0, 400, 300};
  AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
  window =
      CreateWindowExA(0, "VelkinTestMain", "Velkin test", WS_OVERLAPPEDWINDOW, 0, 0, frame.right - frame.left,
                      frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
  return window;
}

std::unique_ptr<TreeViewForest> MakeTreeForest(bool checkBoxes) {
  HWND tree = CreateTaskTree(GetModuleHandleA(nullptr), TestMainWindow(), checkBoxes);
  if (!tree) return nullptr;
  AttachTreeImages(tree);
  return std::make_unique<TreeViewForest>(tree, DestroyTaskTree);
}

void PumpMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}
