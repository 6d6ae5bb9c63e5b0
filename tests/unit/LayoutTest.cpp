// The layout's arithmetic, without a window: twips to pixels, controls placed from their
// containers, status panels, the centred window.
#include "platform/Layout.h"

#include <gtest/gtest.h>

#include <array>

#include "ui/Layout.h"

namespace {

using platform::ControlKind;
using platform::ControlLayout;
using platform::PanelKind;
using platform::PanelLayout;

TEST(Layout, TwipsConvertAtTheSystemDpi) {
  EXPECT_EQ(platform::TwipsToPixels(7815, 96), 521);
  EXPECT_EQ(platform::TwipsToPixels(6870, 96), 458);
  EXPECT_EQ(platform::TwipsToPixels(615, 144), 62);  // 61.5 rounds up
  EXPECT_EQ(platform::TwipsToPixels(1440, 120), 120);
}

TEST(Layout, ControlsStandFromTheirContainersCornerAndKeepTheirOwnSize) {
  struct Case {
    int control, dpi;
    RECT expected;
  } cases[] = {
      {ui::ctl::Command1, 96, {16, 40, 121, 81}},    // Frame1 at 8,16 plus 8,24
      {ui::ctl::List1, 96, {24, 200, 217, 324}},     // in Frame3, in Frame2
      {ui::ctl::Command5, 96, {16, 344, 225, 385}},  // on the window, over Frame2
      // At 144 DPI the sizes round on their own: 1575 twips is 157.5 pixels wherever it stands.
      {ui::ctl::Command1, 144, {24, 60, 182, 122}},
      {ui::ctl::Command2, 144, {192, 60, 350, 122}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "control " << c.control << " at " << c.dpi << " DPI");
    const RECT r = platform::PlaceControls(ui::kControls, c.dpi)[c.control];
    EXPECT_EQ(r.left, c.expected.left);
    EXPECT_EQ(r.top, c.expected.top);
    EXPECT_EQ(r.right, c.expected.right);
    EXPECT_EQ(r.bottom, c.expected.bottom);
  }
}

TEST(Layout, ATableIsWellFormedOnlyInOrderAndInFramesBeforeEachRow) {
  constexpr std::array<ControlLayout, 2> outOfOrder{{
      {1, ControlKind::Button, platform::kInWindow, L"", 0, 0, 1, 1},
      {0, ControlKind::Button, platform::kInWindow, L"", 0, 0, 1, 1},
  }};
  constexpr std::array<ControlLayout, 2> inAButton{{
      {0, ControlKind::Button, platform::kInWindow, L"", 0, 0, 1, 1},
      {1, ControlKind::Button, 0, L"", 0, 0, 1, 1},
  }};
  constexpr std::array<ControlLayout, 2> inALaterFrame{{
      {0, ControlKind::Button, 1, L"", 0, 0, 1, 1},
      {1, ControlKind::Frame, platform::kInWindow, L"", 0, 0, 1, 1},
  }};
  static_assert(!platform::WellFormed(outOfOrder));
  static_assert(!platform::WellFormed(inAButton));
  static_assert(!platform::WellFormed(inALaterFrame));
  static_assert(platform::WellFormed(ui::kControls));
}

TEST(Layout, FixedPanelsAreAsWideAsLaidOutAndTheStretchingOneTakesTheRest) {
  // The bar puts a gap between neighbouring panels: each starts that far past the last one's
  // edge, and the stretching panel gives the gaps up.
  struct Case {
    int dpi, barWidth, gap;
    std::vector<int> edges;
  } cases[] = {
      {96, 521, 2, {96, 423, -1}},  // 96 wide, then 325 from 98, then 96 from 425
      {96, 521, 0, {96, 425, -1}},
      {144, 782, 2, {144, 636, -1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.dpi << " DPI, gap " << c.gap);
    const std::vector<int> edges = platform::PanelRightEdges(ui::kPanels, c.barWidth, c.gap, c.dpi);
    EXPECT_EQ(edges, c.edges);
    const int clock = c.barWidth - (edges[1] + c.gap);
    EXPECT_EQ(clock, platform::TwipsToPixels(1440, c.dpi)) << "the clock as wide as laid out";
  }
}

TEST(Layout, TheWindowStandsCentredInTheWorkArea) {
  EXPECT_EQ(platform::CentredIn({0, 0, 1280, 800}, {529, 487}).x, 375);
  EXPECT_EQ(platform::CentredIn({0, 0, 1280, 800}, {529, 487}).y, 156);
  // A taskbar on the left or at the top moves the work area, and the window with it.
  EXPECT_EQ(platform::CentredIn({60, 40, 1280, 800}, {520, 460}).x, 410);
  EXPECT_EQ(platform::CentredIn({60, 40, 1280, 800}, {520, 460}).y, 190);
}

}  // namespace
