// The window's settings: its place, the option flags and the skin path,
// read at start-up and saved on close through the settings store.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/appstate.h"
#include "base/platform.h"
#include "base/settingsstore.h"

// ---- Reading and saving the window's settings.

// What reading and saving the settings touch: the main window's rectangle,
// the three option flags and the skin path.
struct WindowSettings {
  Rect rect;
  uint8_t rectRead;  // set when all four edges were read
  uint8_t vscroll;
  uint8_t hscroll;
  uint8_t autorun;
  char skinPath[kPathSize];
};

// Reads the product key's values over `settings`: "left", "top", "right",
// "bottom", "vscroll", "hscroll", "autorun" (32-bit values; each flag keeps
// the low byte) and "skin" (text). A missing value leaves its field as it
// was; rectRead tells whether all four edges came. 0, reading nothing, when
// the product key does not exist.
int ReadWindowSettings(SettingsStore& store, WindowSettings* settings);
// Writes the values in that order, the edges only when rectRead is set;
// each write is tried whatever became of the earlier ones. 1 when all
// succeeded.
int WriteWindowSettings(SettingsStore& store, const WindowSettings& settings);

// What the settings need of the main window.
class SettingsWindow {
 public:
  virtual ~SettingsWindow() = default;
  // The window's rectangle in screen coordinates, also while hidden. 1/0.
  virtual int GetRect(Rect* rect) = 0;
  // Moves and sizes the window, keeping its z-order.
  virtual void SetRect(const Rect& rect) = 0;
  // The rectangles of the screens now attached (their work areas).
  virtual std::vector<Rect> Screens() = 0;
  // Load skin for `path`, without showing the window.
  virtual void LoadSkin(const char* path) = 0;
};

// A window in memory: a rectangle, the screens, and the skins asked for.
class MemorySettingsWindow final : public SettingsWindow {
 public:
  int GetRect(Rect* out) override {
    if (!rectKnown || !out) return 0;
    *out = rect;
    return 1;
  }
  void SetRect(const Rect& to) override {
    rect = to;
    ++moves;
  }
  std::vector<Rect> Screens() override { return screens; }
  void LoadSkin(const char* path) override { skinsLoaded.push_back(path ? path : ""); }

  Rect rect{};
  bool rectKnown = true;
  int moves = 0;
  std::vector<Rect> screens;
  std::vector<std::string> skinsLoaded;
};

// Start-up: with no product key (the program never saved for this user) the
// logon entry is removed and nothing else happens. Otherwise the flags and
// the skin path of the application state take the stored values, the window
// takes the stored rectangle when all four edges were stored and it still
// lies on one of the screens, and the skin is loaded for the skin path
// (empty or not).
void ReadSettings(SettingsStore& store, SettingsWindow& window);
// On close, end of session and Ctrl+S: the window's rectangle, the flags and
// the skin path of the application state. Failures are silent, and a
// failing step does not stop the later ones; a window whose rectangle cannot
// be read keeps the stored place it had.
void SaveSettings(SettingsStore& store, SettingsWindow& window);
