// Display scale arithmetic: sizes designed for 96 dots per inch made for
// a monitor's DPI, and the whole multiple at which a skin's pixel art is
// drawn so that it stays sharp.
#pragma once

#include "base/platform.h"

// The DPI at which the program's own sizes are designed (100%).
constexpr int kBaseDpi = 96;

// `value` (a size at kBaseDpi) at `dpi`, rounded to the nearest pixel,
// halves away from zero, as MulDiv rounds. A DPI of 0 or less, which no
// monitor has, is taken as kBaseDpi.
int ScaleForDpi(int value, int dpi);

// The whole multiple a skin is drawn at on a monitor of `dpi`: the nearest
// one to the scale, a tie (150%, 250%, ...) going to the larger so that
// the trees' text, which follows the exact scale, never outgrows the
// skin's tree rectangle by more than a quarter. 96-143 DPI: 1, 144-239: 2,
// 240-335: 3, and so on; never less than 1, never more than kMaxSkinMultiple.
constexpr int kMaxSkinMultiple = 8;
int SkinMultipleForDpi(int dpi);

// `value` times `factor`, held within the range of int rather than wrapping
// (a size read from a file can be any number).
int MultiplySaturated(int value, int factor);
// Every edge of `rect` times `factor`, as MultiplySaturated.
Rect MultiplyRect(const Rect& rect, int factor);
