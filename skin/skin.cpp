#include "skin/skin.h"

namespace {

SkinState gSkinState;
uint32_t gLastSerial = 0;

// A stored rectangle: left, right, top, bottom.
Rect StoredRect(const int32_t* values, int first) {
  return Rect{values[first], values[first + 2], values[first + 1], values[first + 3]};
}

Color StoredColor(const int32_t* values, int first) {
  // Only the low 8 bits of each component count: 300 is 44.
  return MakeColor(static_cast<unsigned>(values[first]), static_cast<unsigned>(values[first + 1]),
                   static_cast<unsigned>(values[first + 2]));
}

}  // namespace

void SetSkinGeometry(const int32_t* values, Skin* skin) {
  skin->width = values[kValueWindowWidth];
  skin->height = values[kValueWindowHeight];
  skin->cornerRadius = values[kValueCornerRadius];
  skin->textColor = StoredColor(values, kValueTextColour);
  skin->backColor = StoredColor(values, kValueBackColour);
  skin->titleBar = Rect{0, 0, skin->width, values[kValueTitleBarHeight]};
  skin->treeRect = StoredRect(values, kValueTreeRect);
  for (int button = 0; button < kSkinButtonCount; ++button)
    skin->buttons[button].rect = StoredRect(values, ButtonRectValue(button));
}

uint32_t NewSkinSerial() {
  return ++gLastSerial;
}

SkinState& CurrentSkin() {
  return gSkinState;
}

bool IsSkinned() {
  return gSkinState.skinned;
}

void ResetSkinState() {
  gSkinState = SkinState{};
}
