// The menu column's colour scheme: the program's own light red, white and
// black, or the system's colours while a contrast theme is on, as Windows
// asks of programs that paint with colours of their own.
#include "launcher/MenuColors.h"

decltype(&SystemParametersInfoW) g_systemParametersInfo = SystemParametersInfoW;

namespace {

bool ContrastThemeOn() {
  HIGHCONTRASTW contrast{};
  contrast.cbSize = sizeof contrast;
  return g_systemParametersInfo(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
         (contrast.dwFlags & HCF_HIGHCONTRASTON);
}

}  // namespace

MenuScheme CurrentMenuScheme() {
  if (!ContrastThemeOn()) return {kRestingColor, kCaptionColor, kWhite, kCaptionColor, kRed};
  const COLORREF face = GetSysColor(COLOR_BTNFACE), text = GetSysColor(COLOR_BTNTEXT);
  return {face, text, GetSysColor(COLOR_HIGHLIGHT), GetSysColor(COLOR_HIGHLIGHTTEXT), text};
}
