// The quick-add hot key: its stored form (the registry value "hotkey", a
// number: the virtual key in the low byte, the MOD_ flags of RegisterHotKey
// in the next), its name for a person, and the translation to and from the
// standard hot-key control, which cannot record the Windows key.
#pragma once

#include <cstdint>
#include <string>

class SettingsStore;

// MOD_ values of RegisterHotKey.
enum : unsigned { kModAlt = 0x1, kModControl = 0x2, kModShift = 0x4, kModWin = 0x8 };

struct HotKey {
  unsigned modifiers;  // kMod flags
  unsigned key;        // virtual key; 0: no hot key
};

extern const char kHotKeyValue[];  // "hotkey"
// Win+Alt+N: no Ctrl+Alt, which many keyboard layouts use as AltGr.
constexpr HotKey kDefaultHotKey = {kModWin | kModAlt, 'N'};

uint32_t EncodeHotKey(HotKey key);
HotKey DecodeHotKey(uint32_t value);
// The stored hot key, the default when none was stored.
HotKey ReadHotKey(SettingsStore& store);
int WriteHotKey(SettingsStore& store, HotKey key);

// Whether a hot key can be taken from every program without keeping a
// key from being typed: none, a function key, or a key with Ctrl, Alt or
// the Windows key.
bool IsUsableHotKey(HotKey key);

// "Win+Alt+N"; "none" for no hot key.
std::string HotKeyText(HotKey key);

// HKM_GETHOTKEY's word (HOTKEYF_ flags in the high byte) and the Win box
// beside the control give the hot key; the other way gives the word.
HotKey HotKeyFromControl(unsigned controlValue, bool win);
unsigned ControlValueOf(HotKey key);
