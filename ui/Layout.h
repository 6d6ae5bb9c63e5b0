#pragma once
// The main window's layout: one table, in tab order. Positions and sizes in twips, relative
// to the container (the window's client area or a frame's outer corner).
#include <array>

#include "platform/Form.h"
#include "res/Texts.h"
#include "res/resource.h"

namespace ui {

using platform::ControlKind;
using platform::PanelKind;

inline constexpr std::array<platform::ControlLayout, 15> kControls{{
    // name       kind                 container  caption               left  top   width height
    {"Frame1", ControlKind::Frame, "", texts::kFrame1, 120, 240, 5175, 1215},
    {"Command1", ControlKind::Button, "Frame1", texts::kCommand1, 120, 360, 1575, 615},
    {"Command2", ControlKind::Button, "Frame1", texts::kCommand2, 1800, 360, 1575, 615},
    {"Command3", ControlKind::Button, "Frame1", texts::kCommand3Kill, 3480, 360, 1575, 615},
    {"Frame2", ControlKind::Frame, "", texts::kFrame2, 120, 1680, 3375, 4215},
    {"Command4", ControlKind::Button, "Frame2", texts::kCommand4, 120, 240, 3135, 615},
    {"Frame3", ControlKind::Frame, "Frame2", texts::kFrame3, 120, 1080, 3135, 2175},
    {"List1", ControlKind::ListBox, "Frame3", nullptr, 120, 240, 2895, 1860},
    {"S1", ControlKind::StatusBar, "", nullptr, 0, 6255, 7815, 615},
    {"Command5", ControlKind::Button, "", texts::kCommand5, 240, 5160, 3135, 615},
    {"Frame4", ControlKind::Frame, "", texts::kFrame4, 3600, 1680, 4095, 4215},
    {"Text1", ControlKind::TextBox, "Frame4", texts::kHelpText, 120, 240, 3855, 3855},
    {"Frame5", ControlKind::Frame, "", texts::kFrame5, 5400, 240, 2295, 1215},
    {"Option1", ControlKind::Option, "Frame5", texts::kOption1, 120, 360, 1935, 300},
    {"Option2", ControlKind::Option, "Frame5", texts::kOption2, 120, 720, 2055, 255},
}};

inline constexpr std::array<platform::PanelLayout, 3> kPanels{{
    {PanelKind::Text, 1440, texts::kPanelStatus},
    {PanelKind::Stretch, 1440, texts::kPanelLoaded},
    {PanelKind::Clock, 1440, nullptr},
}};

inline constexpr platform::FormLayout kForm1{texts::kFormCaption, 7815,      6870,
                                             IDI_PLINDAR,         kControls, kPanels};

}  // namespace ui
