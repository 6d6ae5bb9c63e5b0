#include <string>

#include "skin/Kinds.h"

namespace skin {

void PaintFrame(const Canvas& c) {
  const Skin& s = c.skin;
  const RECT& client = c.client;
  TEXTMETRICW metrics{};
  ::GetTextMetricsW(c.dc, &metrics);
  const std::wstring caption = TextOf(c.window);
  SIZE extent{};
  ::GetTextExtentPoint32W(c.dc, caption.c_str(), static_cast<int>(caption.size()), &extent);

  RECT border = client;
  border.top += metrics.tmHeight / 2;
  const int radius = c.metrics.frameRadius;
  DrawShape(c.dc, Shape::kRounded, border, nullptr, Ref(s.frameBorder), radius, c.metrics.line);
  if (!caption.empty()) {
    const int pad = metrics.tmAveCharWidth / 2 + 1;
    RECT gap{client.left + radius, client.top, client.left + radius + extent.cx + 2 * pad,
             client.top + metrics.tmHeight};
    ::FillRect(c.dc, &gap, c.background);
    ::SetTextColor(c.dc, Ref(s.frameText));
    RECT text{gap.left + pad, gap.top, gap.right, gap.bottom};
    ::DrawTextW(c.dc, caption.c_str(), static_cast<int>(caption.size()), &text,
                DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
  }
}

// The caption stands on the top outline, clear of its corners, one line high.
SIZE FrameCaptionRoom(SIZE client, const TEXTMETRICW& font, const Metrics& m) {
  return {client.cx - 2 * (m.frameRadius + font.tmAveCharWidth / 2 + 1),
          font.tmHeight - font.tmInternalLeading};
}

}  // namespace skin
