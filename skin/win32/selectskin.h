// The "Select Skin" dialog: the skin files of the skins folder beside the
// program, "Select" to apply one, "Add..." to copy another file there. Made
// hidden once at start-up, shown from the tray menu.
#pragma once

#include <windows.h>

// Dialog resource 102 and its controls.
constexpr int kSelectSkinDialogId = 102;
constexpr int kSkinListId = 255;
constexpr int kSkinSelectId = 256;
constexpr int kSkinAddId = 257;

// Create skin dialog: the hidden dialog, owned by `main`, with the skins
// folder beside the running program. None when it cannot be made.
HWND CreateSelectSkinDialog(HWND main, HINSTANCE instance);
// The same with a skins folder of the caller's.
HWND CreateSelectSkinDialogFor(HWND main, HINSTANCE instance, const char* skinsFolder);
// The dialog's skins folder (no trailing backslash); "" for none.
const char* SkinsFolderOfDialog(HWND dialog);

// Show skin dialog: fills the list with the folder's files (not hidden or
// system files, not folders) and shows the dialog. "Could not get directory
// listing for skins", and the dialog stays hidden, when the folder cannot
// be listed. 1/0.
int ShowSelectSkinDialog(HWND dialog);
// "Select": loads the selected file as the skin (showing the main window)
// and hides the dialog, whatever came of the loading.
void SelectChosenSkin(HWND dialog);
// "Add..." once a file is chosen: copies it into the skins folder under its
// own name, never over a file already there ("Filename already exists or
// access is denied"), then shows the refilled list. 1/0.
int AddSkinFile(HWND dialog, const char* path);
