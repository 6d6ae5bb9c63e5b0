// The layout's arithmetic, without a window: twips to pixels, controls placed from their
// containers, status panels, the centred window.
#include "platform/Layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <iterator>
#include <tuple>

#include "base/Text.h"
#include "res/Texts.h"
#include "ui/Layout.h"

namespace {

using platform::ControlKind;
using platform::ControlLayout;
using platform::PanelKind;
using platform::PanelLayout;

TEST(Layout, TheWindowIsLaidOutInTwipsAsDrawn) {
  // Written out here once, so that a slip in the program's table shows: every other test,
  // end to end too, places the controls from the program's own table.
  using K = ControlKind;
  namespace ctl = ui::ctl;
  constexpr int kWindow = platform::kInWindow;
  // clang-format off
  const ControlLayout drawn[] = {
      {ctl::Frame1,   K::Frame,     kWindow,     texts::kFrame1,        120,  240, 5175, 1215},
      {ctl::Command1, K::Button,    ctl::Frame1, texts::kCommand1,      120,  360, 1575,  615},
      {ctl::Command2, K::Button,    ctl::Frame1, texts::kCommand2,     1800,  360, 1575,  615},
      {ctl::Command3, K::Button,    ctl::Frame1, texts::kCommand3Kill, 3480,  360, 1575,  615},
      {ctl::Frame2,   K::Frame,     kWindow,     texts::kFrame2,        120, 1680, 3375, 4215},
      {ctl::Command4, K::Button,    ctl::Frame2, texts::kCommand4,      120,  240, 3135,  615},
      {ctl::Frame3,   K::Frame,     ctl::Frame2, texts::kFrame3,        120, 1080, 3135, 2175},
      {ctl::List1,    K::ListBox,   ctl::Frame3, nullptr,               120,  240, 2895, 1860},
      {ctl::S1,       K::StatusBar, kWindow,     nullptr,                 0, 6255, 7815,  615},
      {ctl::Command5, K::Button,    kWindow,     texts::kCommand5,      240, 5160, 3135,  615},
      {ctl::Frame4,   K::Frame,     kWindow,     texts::kFrame4,       3600, 1680, 4095, 4215},
      {ctl::Text1,    K::TextBox,   ctl::Frame4, texts::kHelpText,      120,  240, 3855, 3855},
      {ctl::Frame5,   K::Frame,     kWindow,     texts::kFrame5,       5400,  240, 2295, 1215},
      {ctl::Option1,  K::Option,    ctl::Frame5, texts::kOption1,       120,  360, 1935,  300},
      {ctl::Option2,  K::Option,    ctl::Frame5, texts::kOption2,       120,  720, 2055,  255},
  };
  // clang-format on
  EXPECT_EQ(std::size(drawn), ui::kControls.size()) << "a control in one table only";
  for (const ControlLayout& row : ui::kControls) {  // named by place and caption
    SCOPED_TRACE(testing::Message() << "control " << row.index << " "
                                    << base::WideToUtf8(row.caption ? row.caption : L""));
    const auto d = std::find_if(std::begin(drawn), std::end(drawn),
                                [&](const ControlLayout& r) { return r.index == row.index; });
    ASSERT_NE(d, std::end(drawn)) << "not in the drawn layout";
    EXPECT_EQ(std::tie(row.kind, row.container, row.caption),
              std::tie(d->kind, d->container, d->caption));
    EXPECT_EQ(std::tie(row.left, row.top, row.width, row.height),
              std::tie(d->left, d->top, d->width, d->height));
  }
  EXPECT_EQ(std::tie(ui::kForm1.clientWidth, ui::kForm1.clientHeight), std::tuple(7815, 6870));
}

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
