// The colours that the window's definition, the menu layout and the hover
// handlers share, as COLORREF (0x00BBGGRR).
#pragma once
#include <windows.h>

// Light red: the entries at rest and the filler below them.
inline constexpr COLORREF kRestingColor = 0x00C0C0FF;
// The window, the panels and the entry under the pointer.
inline constexpr COLORREF kWhite = 0x00FFFFFF;
