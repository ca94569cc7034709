// Entry point of Korvane6Menu.exe.
#include <windows.h>

#include "launcher/mdlMain.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) { return Main(instance); }
