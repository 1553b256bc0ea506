#include "app/win32/tray.h"

#include <shellapi.h>

#include <cstring>
#include <string>

#include "alerts/activation.h"
#include "alerts/win32/settingsdialog.h"
#include "app/win32/addtaskbox.h"
#include "app/win32/exportfile.h"
#include "app/win32/mainwindow.h"
#include "base/appstate.h"
#include "base/boundedtext.h"
#include "base/prompts.h"
#include "base/win32/activedialog.h"
#include "data/datafolder.h"
#include "skin/win32/selectskin.h"

namespace {

HMENU g_trackedMenu = nullptr;

// The record with the balloon fields, as the shell of every version since
// 2000 understands it.
NOTIFYICONDATAA IconData(HWND window, UINT id) {
  NOTIFYICONDATAA data;
  std::memset(&data, 0, sizeof data);
  data.cbSize = NOTIFYICONDATAA_V2_SIZE;
  data.hWnd = window;
  data.uID = id;
  return data;
}

BOOL CALLBACK RaiseTooltip(HWND window, LPARAM) {
  char name[128];
  if (GetClassNameA(window, name, sizeof name) && std::strcmp(name, "tooltips_class32") == 0)
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  return TRUE;
}

const char kBackupQuestion[] =
    "To revert to a previous state follow these instructions: \n"
    "    1. Rename the \"current\" folder to any other name \n"
    "    2. Copy the folder of the desired backup date \n"
    "    3. Name the copied folder \"current\" \n"
    "    4. Restart the program \n"
    " The program must close to manage backups, do you want to continue?";

typedef HWND(WINAPI* HtmlHelpFunction)(HWND, LPCSTR, UINT, DWORD_PTR);

void OpenHelp() {
  std::string path = std::string(ProgramFolder()) + "Velkin.chm";
  if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
    // Saying so beats a Help item that silently does nothing.
    std::string text = "The help file could not be found:\n" + path;
    ShowWarning(text.c_str());
    return;
  }
  // The control is loaded on first use and stays for the rest of the run.
  static HMODULE control = LoadLibraryA("hhctrl.ocx");
  HtmlHelpFunction htmlHelp =
      control
          ? reinterpret_cast<HtmlHelpFunction>(reinterpret_cast<void*>(GetProcAddress(control, "HtmlHelpA")))
          : nullptr;
  if (!htmlHelp) {
    ShowWarning("Help cannot be shown: the HTML Help control (hhctrl.ocx) is not installed.");
    return;
  }
  htmlHelp(GetDesktopWindow(), path.c_str(), 0 /* HH_DISPLAY_TOPIC */, 0);
}

void ManageBackups(HWND window) {
  if (!AskYesNo(kBackupQuestion, window)) return;
  std::string folder = DataFolder();
  // Without a data folder (already said) there is nothing to manage.
  if (folder.empty()) return;
  ShellExecuteA(nullptr, "open", folder.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  // Ends without saving: the user is about to swap the "current" folder.
  SendMessageA(window, WM_DESTROY, 0, 0);
}

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        ShowWindow(dialog, SW_HIDE);
        return TRUE;
      }
      return FALSE;
    case WM_ACTIVATE:
      NoteActiveDialog(dialog, wParam);
      return FALSE;
    case WM_SYSCOMMAND:
      return HideOnClose(dialog, wParam);
    default:
      return FALSE;
  }
}

}  // namespace

bool AddTrayIcon(HWND window, UINT id, HICON icon, const char* tip) {
  NOTIFYICONDATAA data = IconData(window, id);
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = kTrayIconMessage;
  data.hIcon = icon;
  CopyField(data.szTip, tip);
  // The icon is the caller's (a shared resource icon): not ours to destroy.
  return Shell_NotifyIconA(NIM_ADD, &data) != FALSE;
}

void RemoveTrayIcon(HWND window, UINT id) {
  NOTIFYICONDATAA data = IconData(window, id);
  Shell_NotifyIconA(NIM_DELETE, &data);
}

// The check fits its catch-up text to what a balloon holds.
static_assert(sizeof(NOTIFYICONDATAA{}.szInfo) == kBalloonTextSize, "the balloon's text size");

bool ShowBalloon(HWND window, const char* title, const char* text) {
  NOTIFYICONDATAA data = IconData(window, 0);
  data.uFlags = NIF_INFO;
  CopyField(data.szInfoTitle, title);
  CopyField(data.szInfo, text);
  data.dwInfoFlags = NIIF_INFO;
  data.uTimeout = 15000;
  BOOL shown = Shell_NotifyIconA(NIM_MODIFY, &data);
  EnumWindows(RaiseTooltip, 0);
  return shown != FALSE;
}

HMENU TrackedTrayMenu() {
  return g_trackedMenu;
}

void OpenTrayMenu(HWND window, int x, int y) {
  HMENU menu = LoadMenuA(static_cast<HINSTANCE>(App().instance), "SysTrayPopupMenu");
  if (!menu) return;
  g_trackedMenu = GetSubMenu(menu, 0);
  // Without the foreground the menu would not close on a click elsewhere.
  SetForegroundWindow(window);
  TrackPopupMenu(g_trackedMenu, TPM_RIGHTBUTTON, x, y, 0, window, nullptr);
  PostMessageA(window, WM_NULL, 0, 0);
  g_trackedMenu = nullptr;
  DestroyMenu(menu);
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
      if (App().aboutDialog) {
        HWND about = static_cast<HWND>(App().aboutDialog);
        ShowWindow(about, SW_SHOW);
        SetForegroundWindow(about);
      }
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

HWND CreateAboutDialog(HINSTANCE instance, HWND owner) {
  return CreateDialogParamA(instance, MAKEINTRESOURCEA(kAboutDialogId), owner, AboutDialogProc, 0);
}
