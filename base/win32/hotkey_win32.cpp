#include "base/win32/hotkey_win32.h"

namespace {

bool gHotKeyRefused = false;

}  // namespace

bool RegisterQuickAddHotKey(HWND window, HotKey key) {
  UnregisterHotKey(window, kQuickAddHotKeyId);
  gHotKeyRefused = key.key && !RegisterHotKey(window, kQuickAddHotKeyId, key.modifiers, key.key);
  return !gHotKeyRefused;
}

bool QuickAddHotKeyRefused() {
  return gHotKeyRefused;
}
