#include "app/win32/skinnedframe.h"

#include "app/geometry.h"
#include "app/win32/tabs.h"
#include "base/win32/workarea.h"
#include "skin/skinlayout.h"
#include "skin/win32/skinpaint.h"

namespace {

// Set while the title bar is held; the grab point is where it was pressed.
bool g_moving = false;
Point g_grab = {0, 0};

// The window moved so that the grabbed point stays under the pointer, its
// size unchanged, snapped to the work area's edges.
void FollowPointer(HWND main) {
  POINT pointer;
  RECT window;
  if (!GetCursorPos(&pointer) || !GetWindowRect(main, &window)) return;
  const Rect candidate = {pointer.x - g_grab.x, pointer.y - g_grab.y,
                          window.right + pointer.x - window.left - g_grab.x,
                          window.bottom + pointer.y - window.top - g_grab.y};
  const Rect snapped = SnapSkinnedMove(candidate, WorkArea());
  SetWindowPos(main, nullptr, snapped.left, snapped.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

}  // namespace

void OnSkinnedPress(HWND main, Point at) {
  const SkinPress press = SkinPressAt(CurrentSkin().skin, at);
  if (press.close) {
    SendMessageA(main, WM_CLOSE, 0, 0);
    return;
  }
  if (press.move) {
    g_moving = true;
    g_grab = at;
    SetCapture(main);
  }
  if (press.tab >= 0) {
    SelectButtonForTab(main, press.tab);
    SelectTab(press.tab);
  }
}

void OnSkinnedPointerMove(HWND main, Point at, WPARAM keys) {
  // The release can be lost to another window that took the capture: then
  // the move is over too.
  if (g_moving && !(keys & MK_LBUTTON)) EndSkinnedMove();
  if (g_moving) FollowPointer(main);
  SetHover(main, SkinButtonAt(CurrentSkin().skin, at));
}

void EndSkinnedMove() {
  if (!g_moving) return;
  g_moving = false;
  ReleaseCapture();
}
