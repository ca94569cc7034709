// Twips to pixels, exactly and in both builds: the i686 release computes
// with x87 and the x86_64 twin with SSE2, and a tie such as the captions'
// 13.5 pixels must round the same way in both.
#include <gtest/gtest.h>

#include "toolkit/Units.h"

namespace {

TEST(Units, DivisionRoundsHalvesToTheEvenNeighbour) {
  const struct {
    std::int64_t n, d, q;
  } cases[] = {
      {27, 2, 14}, {25, 2, 12}, {26, 2, 13}, {7, 3, 2},    {8, 3, 3},
      {-5, 2, -2}, {-7, 2, -4}, {-8, 3, -3}, {0, 5760, 0}, {5760 * 9 + 2880, 5760, 10},
  };
  for (const auto& c : cases) EXPECT_EQ(tk::DivideHalfEven(c.n, c.d), c.q) << c.n << " / " << c.d;
}

// The layout's own sums at every DPI from 72 to 300, as it forms them: a
// caption 13.5 pixels high, converted to twips with the floating ratio
// 1440 / dpi and back, is a tie at every DPI; its top, (28 - 13.5) / 2 =
// 7.25 pixels, is none, and must not become one.
TEST(Units, TheCaptionsTiesRoundAlikeAtEveryDpi) {
  for (int dpi = 72; dpi <= 300; ++dpi) {
    const double tpp = 1440.0 / dpi;
    const double height = 13.5 * tpp;
    const double top = 28 * tpp / 2 - height / 2;
    EXPECT_EQ(tk::WholePixels(height, dpi), 14) << "dpi " << dpi;
    EXPECT_DOUBLE_EQ(tk::Pixels(height, dpi), 13.5) << "dpi " << dpi;
    EXPECT_EQ(tk::WholePixels(top, dpi), 7) << "dpi " << dpi;
  }
}

// Design places in twips, worked out by hand: the bar's bottom edge
// (1305 + 90 = 1395 twips), the caption indent (240) and the client place.
TEST(Units, DesignTwipsToPixels) {
  const struct {
    double twips;
    int dpi;
    double pixels;
    int whole;
  } cases[] = {
      {1395, 96, 93, 93},      {1395, 120, 116.25, 116}, {1395, 144, 139.5, 140},  {1395, 112, 108.5, 108},
      {1395, 72, 69.75, 70},   {240, 96, 16, 16},        {240, 120, 20, 20},       {240, 132, 22, 22},
      {5850, 120, 487.5, 488}, {5355, 120, 446.25, 446}, {202.5, 96, 13.5, 14},    {108.75, 96, 7.25, 7},
      {90, 96, 6, 6},          {90, 100, 6.25, 6},       {7095, 120, 591.25, 591}, {1215, 144, 121.5, 122},
  };
  for (const auto& c : cases) {
    EXPECT_DOUBLE_EQ(tk::Pixels(c.twips, c.dpi), c.pixels) << c.twips << " twips at " << c.dpi;
    EXPECT_EQ(tk::WholePixels(c.twips, c.dpi), c.whole) << c.twips << " twips at " << c.dpi;
  }
}

TEST(Units, FontPointsToPixels) {
  const struct {
    double points;
    int dpi;
    int pixels;
  } cases[] = {
      {8.25, 96, 11}, {8.25, 120, 14}, {8.25, 144, 16}, {8.25, 48, 6}, {8.5, 96, 11}, {9, 120, 15}, {10, 72, 10},
  };
  for (const auto& c : cases)
    EXPECT_EQ(tk::WholePixelsOfPoints(c.points, c.dpi), c.pixels) << c.points << " pt at " << c.dpi;
}

}  // namespace
