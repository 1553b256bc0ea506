// "Export..." on the tray menu: the three tabs into one Markdown or CSV
// file chosen in a save dialog.
#pragma once

#include <windows.h>

// Asks for the file (owned by `owner`) and writes it; a failed write is
// said. true when a file was written.
bool ExportTasks(HWND owner);
