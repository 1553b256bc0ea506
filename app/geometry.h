// Window geometry that needs no window: where the main window starts, how a
// moved window snaps to the edges of the work area, and whether a stored
// place is still on some screen.
#pragma once

#include <cstddef>

#include "base/platform.h"

// Distance from an edge within which a moved window snaps, and the step by
// which a plain window that sits on an edge jumps free when pulled inwards.
constexpr int kSnapDistance = 10;
// The main window's size before settings or a skin say otherwise.
constexpr int kDefaultWindowSize = 250;

// Snapping of the plain frame while the system moves it (WM_MOVING):
// `proposed` is where the user drags it, `current` where it is now. A window
// already on the top/left/bottom/right edge of the work area and pulled
// inwards jumps kSnapDistance away; otherwise it lands on the edge. The top
// and left targets are screen coordinate 0, the bottom and right ones the
// work area's edges.
Rect SnapPlainMove(const Rect& proposed, const Rect& current, const Rect& workArea);

// Snapping of the skinned window, which the program moves itself: the
// window's new rectangle, size unchanged. Near the top or left it goes to
// 0; near the bottom or right it ends one pixel beyond the work area, as a
// freshly skinned window is placed.
Rect SnapSkinnedMove(const Rect& candidate, const Rect& workArea);

// The window starts hidden when the command line holds "-autorun" anywhere
// (case-sensitive, even run together with other letters) or when the show
// command asks for a hidden or minimised start (bit 1 or bit 2 set: 2, 3, 4,
// 5, 6, 7, 10 and 11 hide; 0, 1, 8 and 9 show). A null command line is empty.
bool StartHidden(const char* commandLine, int showCommand);

// kDefaultWindowSize square (at 96 DPI, scaled for `dpi`), its bottom-right
// corner on the work area's.
Rect DefaultWindowRect(const Rect& workArea, int dpi = 96);

// Where the window goes when its monitor's DPI changes: the system's
// `suggested` rectangle (already of the new size), kept on the edges of
// `workArea` that it sat on `before`, then moved, size unchanged, to lie
// within the work area as far as it fits (its top-left corner first).
Rect PlaceAfterDpiChange(const Rect& suggested, const Rect& before, const Rect& workArea);

// True when `rect` shares at least one pixel with one of the `count` screen
// rectangles (right and bottom exclusive). A stored place on a monitor that
// has since gone would put the window where nobody can reach it.
bool RectVisibleOnAnyScreen(const Rect& rect, const Rect* screens, size_t count);
