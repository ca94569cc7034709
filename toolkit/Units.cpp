#include "toolkit/Units.h"

#include <windows.h>

#include <cmath>

#include "toolkit/ScopedWin.h"

namespace tk {

namespace {

const std::int64_t kSubPixelsPerPixel = 4 * 1440;

int ReadLogPixels(int cap) {
  WindowDC screen(nullptr);
  int dpi = screen.get() ? GetDeviceCaps(screen.get(), cap) : 96;
  return dpi > 0 ? dpi : 96;
}

}  // namespace

int LogPixelsX() {
  static const int dpi = ReadLogPixels(LOGPIXELSX);
  return dpi;
}

int LogPixelsY() {
  static const int dpi = ReadLogPixels(LOGPIXELSY);
  return dpi;
}

double TwipsPerPixelX() { return 1440.0 / LogPixelsX(); }
double TwipsPerPixelY() { return 1440.0 / LogPixelsY(); }

std::int32_t RoundHalfEven(double v) {
  return static_cast<std::int32_t>(std::nearbyint(v));  // default FE_TONEAREST: ties to even
}

std::int64_t DivideHalfEven(std::int64_t n, std::int64_t d) {
  std::int64_t q = n / d, r = n % d;
  if (r < 0) {  // to floor division
    r += d;
    --q;
  }
  if (2 * r > d || (2 * r == d && (q & 1))) ++q;
  return q;
}

std::int64_t SubPixels(double twips, int dpi) { return std::llround(twips * 4 * dpi); }

double Pixels(double twips, int dpi) {
  return static_cast<double>(SubPixels(twips, dpi)) / static_cast<double>(kSubPixelsPerPixel);
}

std::int32_t WholePixels(double twips, int dpi) {
  return static_cast<std::int32_t>(DivideHalfEven(SubPixels(twips, dpi), kSubPixelsPerPixel));
}

std::int32_t WholePixelsOfPoints(double points, int dpi) {
  return static_cast<std::int32_t>(DivideHalfEven(std::llround(points * 4) * dpi, 4 * 72));
}

double PixelsX(double twips) { return Pixels(twips, LogPixelsX()); }
double PixelsY(double twips) { return Pixels(twips, LogPixelsY()); }
std::int32_t WholePixelsX(double twips) { return WholePixels(twips, LogPixelsX()); }
std::int32_t WholePixelsY(double twips) { return WholePixels(twips, LogPixelsY()); }

double ScreenWidthTwips() { return GetSystemMetrics(SM_CXSCREEN) * TwipsPerPixelX(); }

std::int16_t ScreenWidthPixels() { return static_cast<std::int16_t>(WholePixelsX(ScreenWidthTwips())); }

}  // namespace tk
