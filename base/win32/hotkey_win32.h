// The quick-add hot key on a window: WM_HOTKEY with kQuickAddHotKeyId.
#pragma once

#include <windows.h>

#include "base/hotkey.h"

constexpr int kQuickAddHotKeyId = 1;

// Replaces the window's hot key with `key` (no key: none). false when the
// system refused it, most often because another program holds it.
bool RegisterQuickAddHotKey(HWND window, HotKey key);
// Whether the last registration was refused.
bool QuickAddHotKeyRefused();
