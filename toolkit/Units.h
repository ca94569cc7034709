// Twips and pixels. A twip is 1/1440 of a logical inch; the screen's ratio
// (15 twips per pixel at 96 DPI, 12 at 120 DPI) comes from its LOGPIXELS.
//
// Conversions to pixels are exact. A length in twips is first taken to a
// whole number of 1/5760 pixel (4 x 1440 per inch: every quarter twip and
// every quarter pixel is such a whole number at any DPI), which absorbs the
// floating-point error of the ratio; whole pixels then come from integer
// division with halves to the even neighbour. So 13.5 pixels is a tie, and
// rounds to 14, in the i686 build (x87 arithmetic) exactly as in the x86_64
// build (SSE2).
#pragma once
#include <cstdint>

namespace tk {

// The screen's dots per inch, read once: the program sees one DPI for its life.
int LogPixelsX();
int LogPixelsY();

double TwipsPerPixelX();
double TwipsPerPixelY();

// Rounds to the nearest integer, halves to the even neighbour (8.5 -> 8,
// 9.5 -> 10, -2.5 -> -2): the rounding of the classic toolkit's integer
// conversions, which the layout relies on.
std::int32_t RoundHalfEven(double v);

// n / d (d > 0) to the nearest integer, halves to the even neighbour.
std::int64_t DivideHalfEven(std::int64_t n, std::int64_t d);

// A length in twips at `dpi`, in 1/5760 pixel, and as pixels.
std::int64_t SubPixels(double twips, int dpi);
double Pixels(double twips, int dpi);             // exact for whole sub-pixels
std::int32_t WholePixels(double twips, int dpi);  // halves to even

// The same at the screen's DPI, horizontally and vertically.
double PixelsX(double twips);
double PixelsY(double twips);
std::int32_t WholePixelsX(double twips);
std::int32_t WholePixelsY(double twips);

// A font size in points (1/72 inch) as whole pixels at `dpi`, halves to even;
// exact for quarter points.
std::int32_t WholePixelsOfPoints(double points, int dpi);

// The primary screen: width in twips and in whole pixels.
double ScreenWidthTwips();
std::int16_t ScreenWidthPixels();

}  // namespace tk
