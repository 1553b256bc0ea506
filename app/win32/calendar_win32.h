// The Calendar tab: a month calendar over the skin's background whose bold
// days are the due dates of the Lists tasks, with a tooltip naming them.
#pragma once

#include <windows.h>

#include <commctrl.h>

// Creates the calendar as a visible child of the main window, stores it in
// App().calendar, subclasses it (transparent painting, keys, the day
// tooltip) and gives it its tooltip. Returns the calendar, or null when it
// cannot be made.
HWND CreateCalendar(HINSTANCE instance, HWND mainWindow);
// Gives the calendar its own font, and its tooltip its line width, for `dpi`.
void ScaleCalendarFont(HWND calendar, int dpi);

// The code of the calendar's day-state request, as the control sends it:
// MCN_FIRST - 1 (-747). MinGW-w64's <commctrl.h> gives MCN_GETDAYSTATE as
// MCN_FIRST + 3 (-743), a value no calendar sends; compare with this one.
constexpr UINT kCalendarGetDayState = 0U - 747U;

// Answers kCalendarGetDayState (MCN_GETDAYSTATE) (sent to the main window): fills the request's
// day-state array with the due days of the months it asks for. A request
// without an array is given one that lives until the next request. Returns 0.
LRESULT RefreshDayStates(NMDAYSTATE* request);

// Asks the calendar which months it shows and gives it their bold days at
// once; "Set day state failed!" when it refuses them. 1 on success.
int RefreshCalendarDayStates(HWND calendar);

// The calendar's tooltip (one for the program), or null.
HWND CalendarTooltip();

// Destroys a calendar made by CreateCalendar, with its tooltip; the font
// stays for the next. The program's calendar lives until it ends; tests
// make several.
void DestroyCalendar(HWND calendar);
