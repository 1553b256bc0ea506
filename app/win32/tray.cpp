#include "app/win32/tray.h"

#include <shellapi.h>

#include <cstring>

#include "alerts/activation.h"
#include "app/win32/mainwindow.h"
#include "base/boundedtext.h"

namespace {

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
