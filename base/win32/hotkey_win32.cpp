#include "base/win32/hotkey_win32.h"

namespace {

bool g_refused = false;

}  // namespace

bool RegisterQuickAddHotKey(HWND window, HotKey key) {
  UnregisterHotKey(window, kQuickAddHotKeyId);
  g_refused = key.key && !RegisterHotKey(window, kQuickAddHotKeyId, key.modifiers, key.key);
  return !g_refused;
}

bool QuickAddHotKeyRefused() {
  return g_refused;
}
