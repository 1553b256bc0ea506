#include "app/win32/windowsettings.h"

#include <windows.h>

#include "app/settings.h"
#include "app/win32/mainstate.h"
#include "app/win32/screens.h"
#include "base/appstate.h"
#include "base/win32/handles.h"
#include "base/win32/registry_store.h"
#include "skin/win32/skinlook.h"

namespace {

class Win32SettingsWindow final : public SettingsWindow {
 public:
  int GetRect(Rect* rect) override {
    RECT r;
    if (!rect || !GetWindowRect(Window(App().mainWindow), &r)) return 0;
    *rect = ToRect(r);
    return 1;
  }
  void SetRect(const Rect& rect) override {
    SetWindowPos(Window(App().mainWindow), nullptr, rect.left, rect.top, rect.right - rect.left,
                 rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  std::vector<Rect> Screens() override { return ScreenWorkAreas(); }
  void LoadSkin(const char* path) override { ::LoadSkin(Window(App().mainWindow), path, false); }
};

Win32SettingsWindow& SettingsWindowOfApp() {
  static Win32SettingsWindow window;
  return window;
}

}  // namespace

SettingsStore& MainSettingsStore() {
  SettingsStore* store = MainState().settingsStore;
  return store ? *store : HostSettingsStore();
}

void UseSettingsStore(SettingsStore* store) {
  MainState().settingsStore = store;
}

void ReadMainWindowSettings() {
  ReadSettings(MainSettingsStore(), SettingsWindowOfApp());
}

void SaveMainWindowSettings() {
  SaveSettings(MainSettingsStore(), SettingsWindowOfApp());
}
