// Modal message boxes, owned by the active window of the program.
#pragma once
#include <windows.h>

#include <string>

namespace tk {

// Shows the box and waits for the user; returns the button pressed.
int MsgBox(const std::wstring& prompt, UINT buttons, const std::wstring& title);

}  // namespace tk
