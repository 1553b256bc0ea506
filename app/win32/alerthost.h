// The activation check in the program: its balloons on the tray icon, its
// e-mail alerts sent with the mail settings of the settings store in use.
#pragma once

// Start-up, F5 and the tick.
void RunMainActivationCheck();
// Timer 2 of the main window.
void MainActivationTick();
