// The Calendar tab: a month calendar over the skin's background whose bold
// days are the due dates of the Lists tasks, with a tooltip naming them.
#pragma once

#include <windows.h>
#include <commctrl.h>

// Creates the calendar as a hidden child of the main window, stores it in
// App().calendar, subclasses it (transparent painting, the day tooltip) and
// gives it its tooltip. Returns the calendar, or null when it cannot be made.
HWND CreateCalendar(HINSTANCE instance, HWND mainWindow);

// Answers MCN_GETDAYSTATE (sent to the main window): fills the request's
// day-state array with the due days of the months it asks for. Returns 0.
LRESULT RefreshDayStates(NMDAYSTATE* request);
