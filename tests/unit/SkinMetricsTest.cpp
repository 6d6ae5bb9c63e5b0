#include "skin/Metrics.h"

#include <gtest/gtest.h>

namespace {

using skin::FittedFontHeight;
using skin::FontHeight;
using skin::MetricsAt;

TEST(SkinMetrics, DoubleAt200PercentAndLinesStayWholePixels) {
  const skin::Metrics at96 = MetricsAt(96), at192 = MetricsAt(192), at144 = MetricsAt(144);
  EXPECT_EQ(at96.line, 1);
  EXPECT_EQ(at192.line, 2) << "a one-pixel line is two at 192 DPI";
  EXPECT_EQ(at144.line, 1) << "no line blurred across a pixel and a half";
  EXPECT_EQ(at192.buttonRadius, 2 * at96.buttonRadius);
  EXPECT_EQ(at192.frameRadius, 2 * at96.frameRadius);
  EXPECT_EQ(at192.statusInsetX, 2 * at96.statusInsetX);
  EXPECT_EQ(at192.statusInsetY, 2 * at96.statusInsetY);
  EXPECT_EQ(at192.statusRadius, 2 * at96.statusRadius);
  EXPECT_EQ(at192.statusTextInset, 2 * at96.statusTextInset);
  EXPECT_EQ(at192.listTextInset, 2 * at96.listTextInset);
  EXPECT_NEAR(at192.optionSize, 2 * at96.optionSize, 1);
  for (const skin::Metrics& m : {at96, at144, at192}) EXPECT_EQ(m.optionSize % 2, 1);
  EXPECT_EQ(MetricsAt(0).frameRadius, at96.frameRadius) << "an unknown DPI reads as 96";
}

TEST(SkinMetrics, FontFollowsTheDpiAndAnyLargerTextTheUserChose) {
  struct Case {
    const char* what;
    int points, dpi, messageHeight, expected;
  } cases[] = {
      {"9 points at 96 DPI", 9, 96, -12, 12},
      {"a message font smaller than Windows' own changes nothing", 9, 96, -11, 12},
      {"text made 125% larger", 9, 96, -15, 15},
      {"9 points at 192 DPI", 9, 192, -24, 24},
      {"text made larger at 192 DPI", 9, 192, -36, 36},
      {"the skin's 10 points with larger text", 10, 96, -15, 16},
      {"a message font given by cell height", 9, 96, 18, 18},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FontHeight(c.points, c.dpi, c.messageHeight), c.expected) << c.what;
}

TEST(SkinMetrics, LargerTextNeverGrowsACaptionPastItsControl) {
  // The widest caption at 96 DPI: "弹出安全删除硬件的窗口", eleven characters a character height
  // wide each, in a 209-pixel button of which 201 lie inside its outline.
  const auto fits = [](int height) { return 11 * height <= 201; };
  struct Case {
    const char* what;
    int messageHeight, expected;
  } cases[] = {
      {"Windows' own text size", -12, 12},
      {"150%: still fits", -18, 18},
      {"175%: would overflow, held where it fits", -21, 18},
      {"225%: likewise", -27, 18},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const int height =
        FittedFontHeight(FontHeight(9, 96, c.messageHeight), FontHeight(9, 96, 0), fits);
    EXPECT_EQ(height, c.expected);
    EXPECT_TRUE(fits(height));
  }
  // Never below the skin's own size, even where that does not fit either.
  EXPECT_EQ(FittedFontHeight(27, 12, [](int) { return false; }), 12);
}

}  // namespace
