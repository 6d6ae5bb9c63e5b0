#include "skin/Painters.h"

#include <string>

namespace skin {

void PaintFrame(HWND window, HDC target, const Look& look) {
  RECT client;
  ::GetClientRect(window, &client);
  HDC dc = target;
  const Skin& s = look.skin;
  ::FillRect(dc, &client, look.window.get());
  Select font(dc, FontOf(window));
  TEXTMETRICW metrics{};
  ::GetTextMetricsW(dc, &metrics);
  const std::wstring caption = TextOf(window);
  SIZE extent{};
  ::GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &extent);

  RECT border = client;
  border.top += metrics.tmHeight / 2;
  const Metrics m = MetricsAt(::GetDeviceCaps(dc, LOGPIXELSY));
  const int radius = m.frameRadius;
  DrawShape(dc, Shape::kRounded, border, nullptr, Ref(s.frameBorder), radius, m.line);
  if (!caption.empty()) {
    const int pad = metrics.tmAveCharWidth / 2 + 1;
    RECT gap{client.left + radius, client.top, client.left + radius + extent.cx + 2 * pad,
             client.top + metrics.tmHeight};
    ::FillRect(dc, &gap, look.window.get());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, Ref(s.frameText));
    RECT text{gap.left + pad, gap.top, gap.right, gap.bottom};
    ::DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text,
                DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
  }
}

}  // namespace skin
