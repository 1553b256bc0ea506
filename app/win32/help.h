// The help file, Velkin.chm beside the program.
#pragma once

// Opens it in HTML Help; says so when the file or the control is missing.
void OpenHelp();
