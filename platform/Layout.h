#pragma once
// A window's layout as data: its controls and status-bar panels, in twips, and the arithmetic
// that places them in pixels. Plain functions, tested without a window.
#include <windows.h>

#include <span>
#include <vector>

namespace platform {

enum class ControlKind { Frame, Button, Option, TextBox, ListBox, StatusBar };

// A control's id is its place in the layout table past this one: clear of IDOK and IDCANCEL,
// which the dialog manager sends the window on Enter and Esc.
inline constexpr int kFirstControlId = 100;
constexpr int IdOf(int index) { return kFirstControlId + index; }

// The container of a control that lies on the window itself, not in a frame.
inline constexpr int kInWindow = -1;

// One row of a layout: positions and sizes in twips, relative to the container's top-left
// corner (the client area, or a frame's outer corner).
struct ControlLayout {
  int index;  // its own place in the table, written out so the table can be checked
  ControlKind kind;
  int container;  // the index of the frame it lies in, or kInWindow
  const wchar_t* caption;
  int left, top, width, height;
};

// Whether every row stands at its own index, and lies in the window or in a frame before it.
constexpr bool WellFormed(std::span<const ControlLayout> rows) {
  for (size_t i = 0; i < rows.size(); ++i) {
    const ControlLayout& row = rows[i];
    if (row.index != static_cast<int>(i)) return false;
    if (row.container != kInWindow &&
        (row.container < 0 || row.container >= row.index ||
         rows[static_cast<size_t>(row.container)].kind != ControlKind::Frame))
      return false;
  }
  return true;
}
namespace well_formed {
constexpr ControlLayout Row(int index, ControlKind kind, int container) {
  return {index, kind, container, L"", 0, 0, 1, 1};
}
constexpr auto kButton = ControlKind::Button;
constexpr ControlLayout kOutOfOrder[] = {Row(1, kButton, kInWindow), Row(0, kButton, kInWindow)};
constexpr ControlLayout kInAButton[] = {Row(0, kButton, kInWindow), Row(1, kButton, 0)};
constexpr ControlLayout kInALaterFrame[] = {Row(0, kButton, 1),
                                            Row(1, ControlKind::Frame, kInWindow)};
static_assert(!WellFormed(kOutOfOrder) && !WellFormed(kInAButton) && !WellFormed(kInALaterFrame),
              "out of order, in a button, or in a frame laid out after it: not well formed");
}  // namespace well_formed

enum class PanelKind { Text, Stretch, Clock };

struct PanelLayout {
  PanelKind kind;
  int width;  // twips; ignored for the stretching panel, which takes what the others leave
  const wchar_t* text;
};

struct FormLayout {
  const wchar_t* caption;
  int clientWidth, clientHeight;  // twips
  int iconResource;
  std::span<const ControlLayout> controls;  // in tab order
  std::span<const PanelLayout> panels;      // of the one status bar
};

int TwipsToPixels(int twips, int dpi);

// Each control's rectangle in the window's client area, in pixels at `dpi`: its place from its
// container's corner, and its size converted on its own (rounding the corners apart would make
// a control a pixel larger or smaller depending on where it stands).
std::vector<RECT> PlaceControls(std::span<const ControlLayout> rows, int dpi);

// The right edges of a status bar's panels, as SB_SETPARTS takes them, for a bar `barWidth`
// pixels wide whose panels start `gap` pixels past the one before: every fixed panel as wide as
// laid out, the stretching one taking the rest, the last reaching the bar's end (-1).
std::vector<int> PanelRightEdges(std::span<const PanelLayout> panels, int barWidth, int gap,
                                 int dpi);

// The top-left corner of a window of `size` centred in the work area `work`.
POINT CentredIn(const RECT& work, SIZE size);

}  // namespace platform
