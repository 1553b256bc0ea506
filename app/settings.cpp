#include "app/settings.h"

#include <cstring>

#include "app/geometry.h"
#include "base/taskrecord.h"

// ---- The window's settings

namespace {

const char* const kEdgeNames[4] = {"left", "top", "right", "bottom"};

// The flags are bytes in memory and 32-bit values in the store: a byte goes
// out sign-extended and comes back as the low byte.
uint32_t FlagToNumber(uint8_t flag) {
  return static_cast<uint32_t>(static_cast<int32_t>(static_cast<int8_t>(flag)));
}

}  // namespace

int ReadWindowSettings(SettingsStore& store, WindowSettings* settings) {
  if (!settings || !store.ProductKeyExists()) return 0;
  int* edges[4] = {&settings->rect.left, &settings->rect.top, &settings->rect.right, &settings->rect.bottom};
  int edgesRead = 0;
  for (int i = 0; i < 4; ++i) {
    uint32_t number;
    if (store.ReadNumberSetting(kEdgeNames[i], &number)) {
      *edges[i] = static_cast<int32_t>(number);
      ++edgesRead;
    }
  }
  settings->rectRead = edgesRead == 4;
  struct {
    const char* name;
    uint8_t* flag;
  } flags[] = {
      {"vscroll", &settings->vscroll}, {"hscroll", &settings->hscroll}, {"autorun", &settings->autorun}};
  for (auto& f : flags) {
    uint32_t number;
    if (store.ReadNumberSetting(f.name, &number)) *f.flag = static_cast<uint8_t>(number);
  }
  // A path that is not text, or too long for the buffer, counts as absent.
  store.ReadTextSetting("skin", settings->skinPath, sizeof settings->skinPath);
  return 1;
}

int WriteWindowSettings(SettingsStore& store, const WindowSettings& settings) {
  int ok = 1;
  if (settings.rectRead) {
    const int edges[4] = {settings.rect.left, settings.rect.top, settings.rect.right, settings.rect.bottom};
    for (int i = 0; i < 4; ++i)
      if (!store.WriteNumberSetting(kEdgeNames[i], static_cast<uint32_t>(edges[i]))) ok = 0;
  }
  if (!store.WriteNumberSetting("vscroll", FlagToNumber(settings.vscroll))) ok = 0;
  if (!store.WriteNumberSetting("hscroll", FlagToNumber(settings.hscroll))) ok = 0;
  if (!store.WriteNumberSetting("autorun", FlagToNumber(settings.autorun))) ok = 0;
  // The path buffer is fixed; whatever is in it, at most its size less one
  // characters go out, terminated.
  char path[kPathSize];
  CopyBounded(path, settings.skinPath, sizeof path);
  if (!store.WriteText("skin", path)) ok = 0;
  return ok;
}

namespace {

void FromApp(WindowSettings* settings) {
  AppState& app = App();
  settings->vscroll = app.vscroll;
  settings->hscroll = app.hscroll;
  settings->autorun = app.autorun;
  CopyField(settings->skinPath, app.skinPath);
}

}  // namespace

void ReadSettings(SettingsStore& store, SettingsWindow& window) {
  WindowSettings settings{};
  FromApp(&settings);
  if (!ReadWindowSettings(store, &settings)) {
    // Never saved for this user (or the key was deleted by hand): the
    // program must not stay in the logon list either.
    store.RemoveStartupEntry();
    return;
  }
  AppState& app = App();
  app.vscroll = settings.vscroll;
  app.hscroll = settings.hscroll;
  app.autorun = settings.autorun;
  CopyField(app.skinPath, settings.skinPath);
  if (settings.rectRead) {
    std::vector<Rect> screens = window.Screens();
    if (RectVisibleOnAnyScreen(settings.rect, screens.data(), screens.size())) window.SetRect(settings.rect);
  }
  window.LoadSkin(app.skinPath);
}

void SaveSettings(SettingsStore& store, SettingsWindow& window) {
  WindowSettings settings{};
  FromApp(&settings);
  settings.rectRead = window.GetRect(&settings.rect) ? 1 : 0;
  WriteWindowSettings(store, settings);
}
