#include "app/win32/scaling.h"

#include <commctrl.h>

#include "app/geometry.h"
#include "app/win32/calendar_win32.h"
#include "app/win32/screens.h"
#include "app/win32/tabs.h"
#include "base/appstate.h"
#include "base/boundedtext.h"
#include "base/win32/handles.h"
#include "skin/skin.h"
#include "skin/win32/skinlook.h"
#include "tree/win32/tasktree_win32.h"

namespace {

// The program's check boxes made anew; a tree showing the old ones (the
// plain look, or a skin without its own) shows the new.
void ScaleCheckImages(int dpi) {
  AppState& app = App();
  HIMAGELIST made = MakeDefaultCheckImages(dpi);
  if (!made) return;
  HIMAGELIST old = static_cast<HIMAGELIST>(app.defaultCheckImages);
  app.defaultCheckImages = made;
  for (Handle handle : {app.listsTree, app.activeTree, app.doneTree}) {
    HWND tree = Window(handle);
    if (tree && reinterpret_cast<HIMAGELIST>(SendMessageA(tree, TVM_GETIMAGELIST, TVSIL_STATE, 0)) == old)
      SendMessageA(tree, TVM_SETIMAGELIST, TVSIL_STATE, reinterpret_cast<LPARAM>(made));
  }
  if (old) ImageList_Destroy(old);
}

}  // namespace

void ScaleViews(HWND main, int dpi) {
  AppState& app = App();
  for (Handle tree : {app.listsTree, app.activeTree, app.doneTree})
    if (tree) ScaleTreeFont(Window(tree), dpi);
  if (app.tabControl) ScaleTabFont(Window(app.tabControl), dpi);
  if (app.calendar) ScaleCalendarFont(Window(app.calendar), dpi);
  ScaleCheckImages(dpi);
  RECT client;
  GetClientRect(main, &client);
  SendMessageA(main, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
}

LRESULT OnDpiChanged(HWND main, int dpi, const RECT* suggested) {
  ScaleViews(main, dpi);
  if (IsSkinned()) {
    // The skin is built anew at the multiple of the new scale, where the
    // system suggests; it keeps itself on the work area as it loads.
    if (suggested)
      SetWindowPos(main, nullptr, suggested->left, suggested->top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    char path[kPathSize];
    CopyField(path, App().skinPath);
    LoadSkin(main, path, IsWindowVisible(main) != FALSE, dpi);
    return 0;
  }
  if (!suggested) return 0;
  RECT before;
  GetWindowRect(main, &before);
  const Rect work = MonitorWorkArea(MonitorFromRect(suggested, MONITOR_DEFAULTTONEAREST));
  const Rect place = PlaceAfterDpiChange(ToRect(*suggested), ToRect(before), work);
  SetWindowPos(main, nullptr, place.left, place.top, place.right - place.left, place.bottom - place.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  return 0;
}
