// The activation check in the program: its balloons on the tray icon, its
// e-mail alerts sent with the mail settings of the settings store in use.
#pragma once

#include <windows.h>

// Start-up, F5 and the tick.
void RunMainActivationCheck();
// Timer 2 of the main window.
void MainActivationTick();
// kMailOutcomeMessage on the main window: how an e-mail alert fared,
// kept for Settings, and a balloon saying why when it was not sent.
LRESULT OnMailAlertOutcome(LPARAM lParam);
