#pragma once
#include <windows.h>

// Lets the user set the waiting time (and for Eject ICC the acoustic signal) in the program-wide
// card parameters, for the direction they hold. false: the dialog could not be shown at all.
bool AskCardParameters(HWND parent);
