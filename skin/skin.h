// The loaded skin and the skinned look's state: one of each a program.
//
// The record holds the skin's sizes, colours and rectangles, read from its
// file's values, and names the platform's displayable bitmaps and check-box
// image list made from its slots (their owner is the platform's loader,
// skin/win32/skinlook.h). The arithmetic on it (where the
// window goes, what a press hits, what the buttons paint) is in
// skin/skinlayout.h.
#pragma once

#include <cstdint>

#include "base/platform.h"
#include "skin/skinfile.h"

struct SkinButton {
  Rect rect;
  Handle pictures[3];  // normal, hover, selected (SkinButtonPicture); none where the skin has none
};

struct Skin {
  // A number no other skin built in this run has; 0 for no skin.
  uint32_t serial;
  int width;
  int height;
  int cornerRadius;
  Color backColor;
  Color textColor;
  Rect titleBar;  // (0, 0, width, title bar height): pressed, it drags the window
  Rect treeRect;  // where the trees and the calendar lie
  Handle checkImages;
  Handle windowBackground;
  Handle treeBackground;
  SkinButton buttons[kSkinButtonCount];
  // The whole multiple of the file's sizes the skin is drawn at (0 or 1:
  // its own size).
  int multiple;
};

// Sets the sizes, colours and rectangles of `skin` from a skin file's 34
// values (colour components modulo 256, rectangles from their stored left,
// right, top, bottom order). The handles are left as they are.
void SetSkinGeometry(const int32_t* values, Skin* skin);

// A new serial for a skin being built.
uint32_t NewSkinSerial();

// ---- The program's skin and look.

struct SkinState {
  Skin skin{};
  // Whether the skinned look is in force.
  bool skinned = false;
  // The button under the pointer, -1 for none.
  int hoverButton = -1;
  // The button drawn as selected: tab index + 1, following the tab while
  // skinned. The Lists button at start.
  int selectedButton = kButtonLists;
};

SkinState& CurrentSkin();
bool IsSkinned();
// Back to the start: no skin, plain, nothing hovered, Lists selected. The
// bitmaps of a loaded skin are released first (ReleaseSkinPictures).
void ResetSkinState();
