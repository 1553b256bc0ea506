// The main window with the skins: the bundled skins beside the suite (the
// build puts them there, as beside the program), a default background, and
// the skinned state put back after each test.
#pragma once

#include <windows.h>

#include <string>

#include "skin/bmp.h"
#include "skin/skinlayout.h"
#include "skin/win32/skinfiles.h"
#include "skin/win32/skinlook.h"
#include "tests/win32/main_window_fixture.h"
#include "tests/win32/pixel_canvas.h"

// The skins folder beside the running program, as the program finds it.
inline std::string BundledSkinsFolder() {
  char program[2000] = "";
  GetModuleFileNameA(nullptr, program, sizeof program);
  char folder[2048];
  SkinsFolderOf(program, folder, sizeof folder);
  return folder;
}
inline std::string BundledSkin(const char* name) {
  return BundledSkinsFolder() + "\\" + name;
}

// A skin file's slots and values, read as the organiser reads them.
inline SkinFile ReadSkinFile(const std::string& path) {
  SkinFile file;
  SkinFileSource source(path.c_str());
  EXPECT_TRUE(source.ok()) << path;
  EXPECT_EQ(ReadSkinForOrganiser(source, &file), SkinReadResult::kRead) << path;
  return file;
}

struct SkinnedWindow : MainWindow {
  ScopedGdiObject<HBITMAP> defaultBackground = MakeTestBackground(8, 8);

  void SetUp() override {
    MainWindow::SetUp();
    ResetSkinState();
    App().defaultBackground = defaultBackground.get();
    App().treeBackground = defaultBackground.get();
  }

  void TearDown() override {
    // Nothing may show the skin's bitmaps when they go.
    ApplyPlainLook(main);
    ReleaseSkinPictures();
    ResetSkinState();
    MainWindow::TearDown();
  }

  // The window's place of a child, in the main window's client coordinates.
  RECT PlaceOf(HWND child) {
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
  }

  SIZE WindowSize() {
    RECT rect;
    GetWindowRect(main, &rect);
    return SIZE{rect.right - rect.left, rect.bottom - rect.top};
  }

  // The centre of a skin button, in client coordinates.
  Point Centre(int button) {
    const Rect& r = CurrentSkin().skin.buttons[button].rect;
    return Point{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  static LPARAM At(Point p) { return MAKELPARAM(p.x, p.y); }
};
