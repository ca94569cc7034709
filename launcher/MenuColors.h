// The colours that the window's definition, the menu layout and the hover
// handlers share, as COLORREF (0x00BBGGRR).
#pragma once
#include <windows.h>

// Light red: the entries at rest and the filler below them.
inline constexpr COLORREF kRestingColor = 0x00C0C0FF;
// The window, the panels and the entry under the pointer.
inline constexpr COLORREF kWhite = 0x00FFFFFF;
// The bar under the header and the strip under each entry.
inline constexpr COLORREF kRed = 0x000000FF;
// The captions. Fixed like the entries behind them: in a contrast theme the
// system's button text is white or yellow, unreadable on light red and white.
inline constexpr COLORREF kCaptionColor = 0x00000000;

// The menu column's colours: the program's own, or under an active contrast
// theme the system's, in the pairs that the theme makes readable.
struct MenuScheme {
  COLORREF resting;      // entries at rest and the filler
  COLORREF restingText;  // their captions
  COLORREF lit;          // the entry under the pointer
  COLORREF litText;      // its caption
  COLORREF strip;        // the line under each entry
};
MenuScheme CurrentMenuScheme();

// How the menu asks whether a contrast theme is on, in one place so that a
// test can give the answer that Windows gives and Wine never does.
extern decltype(&SystemParametersInfoW) g_systemParametersInfo;
