#pragma once
// The main window's layout: one table, in tab order. Positions and sizes in twips, relative
// to the container (the window's client area or a frame's outer corner).
#include <array>
#include <cstddef>

#include "platform/Layout.h"
#include "res/Texts.h"
#include "res/resource.h"

namespace ui {

// The form's controls, in tab order. A control's place here is its row in the table below and,
// past platform::kFirstControlId, its id: the program, its tests and its benchmarks name
// controls by these, and the compiler checks every name.
namespace ctl {
enum Index : int {
  Frame1,
  Command1,
  Command2,
  Command3,
  Frame2,
  Command4,
  Frame3,
  List1,
  S1,
  Command5,
  Frame4,
  Text1,
  Frame5,
  Option1,
  Option2,
  Count
};
}  // namespace ctl

using K = platform::ControlKind;
inline constexpr int kWindow = platform::kInWindow;

// clang-format off
inline constexpr std::array<platform::ControlLayout, ctl::Count> kControls{{
    // control       kind        container    caption                left  top   width height
    {ctl::Frame1,    K::Frame,     kWindow,     texts::kFrame1,        120,  240, 5175, 1215},
    {ctl::Command1,  K::Button,    ctl::Frame1, texts::kCommand1,      120,  360, 1575,  615},
    {ctl::Command2,  K::Button,    ctl::Frame1, texts::kCommand2,     1800,  360, 1575,  615},
    {ctl::Command3,  K::Button,    ctl::Frame1, texts::kCommand3Kill, 3480,  360, 1575,  615},
    {ctl::Frame2,    K::Frame,     kWindow,     texts::kFrame2,        120, 1680, 3375, 4215},
    {ctl::Command4,  K::Button,    ctl::Frame2, texts::kCommand4,      120,  240, 3135,  615},
    {ctl::Frame3,    K::Frame,     ctl::Frame2, texts::kFrame3,        120, 1080, 3135, 2175},
    {ctl::List1,     K::ListBox,   ctl::Frame3, nullptr,               120,  240, 2895, 1860},
    {ctl::S1,        K::StatusBar, kWindow,     nullptr,                 0, 6255, 7815,  615},
    {ctl::Command5,  K::Button,    kWindow,     texts::kCommand5,      240, 5160, 3135,  615},
    {ctl::Frame4,    K::Frame,     kWindow,     texts::kFrame4,       3600, 1680, 4095, 4215},
    {ctl::Text1,     K::TextBox,   ctl::Frame4, texts::kHelpText,      120,  240, 3855, 3855},
    {ctl::Frame5,    K::Frame,     kWindow,     texts::kFrame5,       5400,  240, 2295, 1215},
    {ctl::Option1,   K::Option,    ctl::Frame5, texts::kOption1,       120,  360, 1935,  300},
    {ctl::Option2,   K::Option,    ctl::Frame5, texts::kOption2,       120,  720, 2055,  255},
}};

inline constexpr std::array<platform::PanelLayout, 3> kPanels{{
    // kind                         width  text
    {platform::PanelKind::Text,     1440,  texts::kPanelStatus},
    {platform::PanelKind::Stretch,  1440,  texts::kPanelLoaded},
    {platform::PanelKind::Clock,    1440,  nullptr},
}};
// clang-format on

// A control whose row is missing, or stands at another place, fails to compile, and the first
// error names it ("with ui::ctl::Index Control = ui::ctl::..."): the first such control.
constexpr ctl::Index FirstControlWithoutItsRow() {
  for (int i = 0; i < ctl::Count; ++i)
    if (kControls[static_cast<size_t>(i)].index != i) return static_cast<ctl::Index>(i);
  return ctl::Count;
}
template <ctl::Index Control>
constexpr bool HasNoRowAtItsPlace() {
  static_assert(Control == ctl::Count, "this control has no row at its own place in kControls");
  return false;
}
static_assert(!HasNoRowAtItsPlace<FirstControlWithoutItsRow()>());
static_assert(platform::WellFormed(kControls), "every row at its own place, in a frame before it");

inline constexpr platform::FormLayout kForm1{
    .caption = texts::kFormCaption,
    .clientWidth = 7815,
    .clientHeight = 6870,
    .iconResource = IDI_PLINDAR,
    .controls = kControls,
    .panels = kPanels,
};

}  // namespace ui
