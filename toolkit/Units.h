// Twips and pixels. A twip is 1/1440 of a logical inch; the screen's ratio
// (15 twips per pixel at 96 DPI, 12 at 120 DPI) comes from its LOGPIXELS.
#pragma once
#include <cstdint>

namespace tk {

double TwipsPerPixelX();
double TwipsPerPixelY();

// Rounds to the nearest integer, halves to the even neighbour (8.5 -> 8,
// 9.5 -> 10, -2.5 -> -2): the rounding of the classic toolkit's integer
// conversions, which the layout relies on.
std::int32_t RoundHalfEven(double v);

// The primary screen: width in twips and in whole pixels.
double ScreenWidthTwips();
std::int16_t ScreenWidthPixels();

}  // namespace tk
