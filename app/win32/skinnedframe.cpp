#include "app/win32/skinnedframe.h"

#include "app/geometry.h"
#include "app/win32/mainstate.h"
#include "app/win32/tabs.h"
#include "base/win32/workarea.h"
#include "skin/skinlayout.h"
#include "skin/win32/skinpaint.h"

namespace {

// The window moved so that the grabbed point stays under the pointer, its
// size unchanged, snapped to the work area's edges.
void FollowPointer(HWND main) {
  POINT pointer;
  RECT window;
  if (!GetCursorPos(&pointer) || !GetWindowRect(main, &window)) return;
  const Rect candidate = {pointer.x - MainState().grab.x, pointer.y - MainState().grab.y,
                          window.right + pointer.x - window.left - MainState().grab.x,
                          window.bottom + pointer.y - window.top - MainState().grab.y};
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
    MainState().moving = true;
    MainState().grab = at;
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
  if (MainState().moving && !(keys & MK_LBUTTON)) EndSkinnedMove();
  if (MainState().moving) FollowPointer(main);
  SetHover(main, SkinButtonAt(CurrentSkin().skin, at));
}

void EndSkinnedMove() {
  if (!MainState().moving) return;
  MainState().moving = false;
  ReleaseCapture();
}
