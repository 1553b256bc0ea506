#include "app/win32/traymenu.h"

#include "alerts/win32/settingsdialog.h"
#include "app/win32/about.h"
#include "app/win32/addtaskbox.h"
#include "app/win32/backups.h"
#include "app/win32/exportfile.h"
#include "app/win32/help.h"
#include "app/win32/mainstate.h"
#include "app/win32/mainwindow.h"
#include "base/appstate.h"
#include "base/prompts.h"
#include "base/win32/scoped.h"
#include "data/datafolder.h"
#include "skin/win32/selectskin.h"

HMENU TrackedTrayMenu() {
  return MainState().trackedTrayMenu;
}

void OpenTrayMenu(HWND window, int x, int y) {
  ScopedMenu menu(LoadMenuA(static_cast<HINSTANCE>(App().instance), "SysTrayPopupMenu"));
  if (!menu) return;
  MainState().trackedTrayMenu = GetSubMenu(menu.get(), 0);
  // Without the foreground the menu would not close on a click elsewhere.
  SetForegroundWindow(window);
  TrackPopupMenu(MainState().trackedTrayMenu, TPM_RIGHTBUTTON, x, y, 0, window, nullptr);
  PostMessageA(window, WM_NULL, 0, 0);
  MainState().trackedTrayMenu = nullptr;
}

LRESULT RunTrayCommand(HWND window, int id) {
  switch (id) {
    case kTraySelectSkin:
      ShowSelectSkinDialog(static_cast<HWND>(App().selectSkinDialog));
      break;
    case kTraySettings:
      ShowSettings(static_cast<HWND>(App().settingsDialog));
      break;
    case kTrayHelp:
      OpenHelp();
      break;
    case kTrayExit:
      SendMessageA(window, WM_CLOSE, 0, 0);
      // Ending now would lose every change since the last good save.
      if (ListsSaveFailed() &&
          !AskYesNo("The lists could not be saved. Exit anyway, losing the changes since the last save?",
                    window))
        break;
      SendMessageA(window, WM_DESTROY, 0, 0);
      break;
    case kTrayBackupLists:
      BackupLists();
      break;
    case kTrayManageBackups:
      ManageBackups(window);
      break;
    case kTrayAbout:
      ShowAbout(static_cast<HWND>(App().aboutDialog));
      break;
    case kTrayAddTask:
      ShowAddTaskBox();
      break;
    case kTrayExport:
      ExportTasks(window);
      break;
    default:
      break;
  }
  return 0;
}
