// The skin editor program: the sheet, the skin named on the command line,
// and the message loop that saves after OK.
#pragma once

#include <windows.h>

#include "skinedit/win32/sheet.h"

// Load skin into sheet from the file at `path`, with the editor's messages.
void LoadSkinFile(SkinEditor& editor, const char* path);

// Save sheet as skin: asks for a file name in the save dialog (owned by the
// sheet; the name is used as typed, with no extension added) and writes the
// skin there, saying how it went. 1 when saved; 0 when the user cancelled
// the dialog or the save failed.
int SaveSkinAs(SkinEditor& editor);

// Program entry: shows the sheet, loads the skin whose path the command
// line holds in double quotes, and runs until the sheet is closed by OK
// with the skin saved, or by a confirmed Cancel. An OK whose save was
// cancelled or failed goes back to the sheet with every edit kept. 0, or 1
// when the sheet could not be made.
int RunSkinEditor(HINSTANCE instance, const char* commandLine);
