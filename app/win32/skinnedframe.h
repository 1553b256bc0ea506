// The skinned look's own frame on the main window: its buttons pressed, its
// title bar dragged (the program moves the window itself, snapping it to
// the work area's edges), and the hover of its buttons followed.
#pragma once

#include <windows.h>

#include "base/platform.h"

// A left press at `at` (client coordinates): the close button closes the
// window; the title bar starts a move; a tab button selects its tab.
void OnSkinnedPress(HWND main, Point at);
// The pointer moved to `at` with the mouse keys `keys` (MK_ flags): a move
// under way follows it, and the button under it hovers.
void OnSkinnedPointerMove(HWND main, Point at, WPARAM keys);
// The left button went up: a move under way ends.
void EndSkinnedMove();
