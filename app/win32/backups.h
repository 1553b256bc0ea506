// Manage Backups: how to go back to a dated backup, then the data folder
// opened and the program ended without saving.
#pragma once

#include <windows.h>

// Asks first (owned by `window`); on Yes opens the folder and destroys the
// window.
void ManageBackups(HWND window);
