#include "toolkit/Units.h"

#include <windows.h>

#include <cmath>

namespace tk {

namespace {
double TwipsPerPixel(int cap) {
  HDC dc = GetDC(nullptr);
  int dpi = dc ? GetDeviceCaps(dc, cap) : 96;
  if (dc) ReleaseDC(nullptr, dc);
  return 1440.0 / (dpi > 0 ? dpi : 96);
}
}  // namespace

// The program is system-DPI aware: the ratio is fixed for the process's life.
double TwipsPerPixelX() {
  static const double ratio = TwipsPerPixel(LOGPIXELSX);
  return ratio;
}

double TwipsPerPixelY() {
  static const double ratio = TwipsPerPixel(LOGPIXELSY);
  return ratio;
}

std::int32_t RoundHalfEven(double v) {
  return static_cast<std::int32_t>(std::nearbyint(v));  // default FE_TONEAREST: ties to even
}

double ScreenWidthTwips() { return GetSystemMetrics(SM_CXSCREEN) * TwipsPerPixelX(); }

std::int16_t ScreenWidthPixels() {
  return static_cast<std::int16_t>(RoundHalfEven(ScreenWidthTwips() / TwipsPerPixelX()));
}

}  // namespace tk
