// The Settings dialog's quick-add hot key: the standard hot-key control
// with a "Win" box beside it (the control cannot record the Windows key)
// and a line that says when another program holds the key.
#pragma once

#include <windows.h>

class SettingsStore;

void FillHotKeyField(HWND dialog, SettingsStore& store);
// OK: registers the chosen key on the main window and stores it. false,
// after saying why, when the key would take a typed key from every program
// or another program holds it; the earlier key then stays.
bool StoreHotKeyField(HWND dialog, SettingsStore& store);
