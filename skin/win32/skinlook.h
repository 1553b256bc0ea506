// Loading a skin and switching the main window between its two looks: the
// skinned one (a borderless window of the skin's size and outline, painted
// from the skin's bitmaps, the tab control hidden) and the plain one (an
// ordinary frame with the tab control).
#pragma once

#include <windows.h>

#include "base/win32/scoped.h"
#include "skin/skin.h"

// Load skin: an empty path gives the plain look (and answers 0, the stored
// path unchanged); a file of exactly 2 bytes gives the plain look; any other
// file is read and built, and on success gives the skinned look. A file
// that cannot be opened changes nothing, without a message; one that
// cannot be read as a skin changes nothing but says why. `show` shows the
// window afterwards (the skin dialog's choice; start-up shows it itself).
// A skin is drawn at the whole multiple for `dpi`; 0 means the main
// window's own DPI. A DPI change hands over the new one: Windows has given
// it to the window by then, but Wine, with one monitor, never does.
// On success the path becomes the application state's skin path. 1/0.
int LoadSkin(HWND main, const char* path, bool show, int dpi = 0);

// The displayable pictures of a skin, owned: the window and tree
// backgrounds, the buttons' normal, hover and selected pictures, and the
// check-box images. The program's skin record names those of the skin in
// force; they go when another skin replaces them.
struct SkinPictures {
  ScopedGdiObject<HBITMAP> windowBackground;
  ScopedGdiObject<HBITMAP> treeBackground;
  ScopedGdiObject<HBITMAP> buttons[kSkinButtonCount][3];
  ScopedImageList checkImages;
};

// Read and build skin: reads the file as the organiser does and makes its
// bitmaps and check-box images. On success the program's skin record is the
// new one and `replaced` receives the old pictures, which the caller keeps
// until nothing shows them any more. On failure nothing changes. Drawn at
// the whole multiple for `dpi`. 1/0.
int ReadAndBuildSkin(const char* path, SkinPictures* replaced, int dpi);
// Releases the pictures of the program's skin, and the record's names of
// them (nothing may show them any more).
void ReleaseSkinPictures();

// The skinned look from the program's skin record: the pop-up window of the
// skin's size, kept on the work area, its views at the tree rectangle, the
// tab control hidden, the skin's colours on the trees and the calendar, its
// check boxes (or the program's), its rounded outline and tree background.
// A shown window stays shown, a hidden one hidden.
void ApplySkinnedLook(HWND main);
// The plain look: the ordinary frame without an outline, the tab control
// shown above the views, the system's colours, the program's check boxes
// and default background. A shown window stays shown, a hidden one hidden.
void ApplyPlainLook(HWND main);
