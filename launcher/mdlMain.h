// The start-up routine: language first, then the main window, then the
// message loop until the window is gone.
#pragma once
#include <windows.h>

// Returns the process's exit code: 0 after a normal end, 1 when the main
// window could not be loaded (after the error report was shown).
int Main(HINSTANCE instance);
