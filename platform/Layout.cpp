#include "platform/Layout.h"

namespace platform {

int TwipsToPixels(int twips, int dpi) { return ::MulDiv(twips, dpi, 1440); }

std::vector<RECT> PlaceControls(std::span<const ControlLayout> rows, int dpi) {
  std::vector<RECT> placed;
  placed.reserve(rows.size());
  for (const ControlLayout& row : rows) {
    const POINT origin = row.container == kInWindow
                             ? POINT{0, 0}
                             : POINT{placed[static_cast<size_t>(row.container)].left,
                                     placed[static_cast<size_t>(row.container)].top};
    const int left = origin.x + TwipsToPixels(row.left, dpi);
    const int top = origin.y + TwipsToPixels(row.top, dpi);
    placed.push_back(RECT{left, top, left + TwipsToPixels(row.width, dpi),
                          top + TwipsToPixels(row.height, dpi)});
  }
  return placed;
}

std::vector<int> PanelRightEdges(std::span<const PanelLayout> panels, int barWidth, int gap,
                                 int dpi) {
  int fixed = 0;
  for (const PanelLayout& p : panels)
    if (p.kind != PanelKind::Stretch) fixed += TwipsToPixels(p.width, dpi);
  const int gaps = gap * static_cast<int>(panels.empty() ? 0 : panels.size() - 1);
  std::vector<int> edges;
  int edge = 0;
  for (size_t i = 0; i < panels.size(); ++i) {
    const int left = i == 0 ? 0 : edge + gap;
    edge = left + (panels[i].kind == PanelKind::Stretch ? barWidth - fixed - gaps
                                                        : TwipsToPixels(panels[i].width, dpi));
    edges.push_back(i + 1 == panels.size() ? -1 : edge);
  }
  return edges;
}

POINT CentredIn(const RECT& work, SIZE size) {
  return {work.left + ((work.right - work.left) - size.cx) / 2,
          work.top + ((work.bottom - work.top) - size.cy) / 2};
}

}  // namespace platform
