#include "base/hotkey.h"

#include "base/settingsstore.h"

const char kHotKeyValue[] = "hotkey";

namespace {

// HOTKEYF_ flags of the hot-key control.
enum : unsigned { kControlShift = 0x1, kControlControl = 0x2, kControlAlt = 0x4 };

}  // namespace

uint32_t EncodeHotKey(HotKey key) {
  if (!key.key) return 0;
  return (key.key & 0xFF) | ((key.modifiers & 0xF) << 8);
}

HotKey DecodeHotKey(uint32_t value) {
  HotKey key{(value >> 8) & 0xF, value & 0xFF};
  if (!key.key) key.modifiers = 0;
  return key;
}

HotKey ReadHotKey(SettingsStore& store) {
  uint32_t value = 0;
  if (!store.ReadNumberSetting(kHotKeyValue, &value)) return kDefaultHotKey;
  return DecodeHotKey(value);
}

int WriteHotKey(SettingsStore& store, HotKey key) {
  return store.WriteNumberSetting(kHotKeyValue, EncodeHotKey(key));
}

bool IsUsableHotKey(HotKey key) {
  if (!key.key || (key.key >= 0x70 && key.key <= 0x87)) return true;
  return (key.modifiers & (kModControl | kModAlt | kModWin)) != 0;
}

std::string HotKeyText(HotKey key) {
  if (!key.key) return "none";
  std::string text;
  if (key.modifiers & kModWin) text += "Win+";
  if (key.modifiers & kModControl) text += "Ctrl+";
  if (key.modifiers & kModAlt) text += "Alt+";
  if (key.modifiers & kModShift) text += "Shift+";
  const unsigned k = key.key;
  if ((k >= '0' && k <= '9') || (k >= 'A' && k <= 'Z'))
    text += static_cast<char>(k);
  else if (k >= 0x70 && k <= 0x87)
    text += "F" + std::to_string(k - 0x6F);
  else if (k == 0x20)
    text += "Space";
  else
    text += "key " + std::to_string(k);
  return text;
}

HotKey HotKeyFromControl(unsigned controlValue, bool win) {
  const unsigned flags = (controlValue >> 8) & 0xFF;
  HotKey key{0, controlValue & 0xFF};
  if (!key.key) return key;
  if (flags & kControlShift) key.modifiers |= kModShift;
  if (flags & kControlControl) key.modifiers |= kModControl;
  if (flags & kControlAlt) key.modifiers |= kModAlt;
  if (win) key.modifiers |= kModWin;
  return key;
}

unsigned ControlValueOf(HotKey key) {
  if (!key.key) return 0;
  unsigned flags = 0;
  if (key.modifiers & kModShift) flags |= kControlShift;
  if (key.modifiers & kModControl) flags |= kControlControl;
  if (key.modifiers & kModAlt) flags |= kControlAlt;
  return (key.key & 0xFF) | (flags << 8);
}
