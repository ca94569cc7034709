// Modal message boxes, owned by a window of the program.
#pragma once
#include <windows.h>

#include <string>

namespace tk {

// Shows the box, modal to `owner` (disabled while the box shows), and waits
// for the user; returns the button pressed.
int MsgBox(HWND owner, const std::wstring& prompt, UINT buttons, const std::wstring& title);

}  // namespace tk
