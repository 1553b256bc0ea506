// The main window's settings (place, options, skin) through the settings
// store: the registry, or a store a test puts in its place.
#pragma once

class SettingsStore;

// Start-up: the stored place, options and skin applied to the window.
void ReadMainWindowSettings();
// Close, end of session and Ctrl+S.
void SaveMainWindowSettings();
// The store used from now on; none goes back to the registry.
void UseSettingsStore(SettingsStore* store);
// The store in use.
SettingsStore& MainSettingsStore();
