#include <algorithm>
#include <string>

#include "skin/Kinds.h"

namespace skin {

void PaintOption(const Canvas& c) {
  const Skin& s = c.skin;
  const Metrics& m = c.metrics;
  const RECT& client = c.client;
  const bool enabled = ::IsWindowEnabled(c.window);
  const bool checked = ::SendMessageW(c.window, BM_GETCHECK, 0, 0) == BST_CHECKED;
  TEXTMETRICW metrics{};
  ::GetTextMetricsW(c.dc, &metrics);
  const int size = std::min<int>(m.optionSize, client.bottom) | 1;
  const int top = (client.bottom - size) / 2;
  const RECT ring{client.left + 1, top, client.left + 1 + size, top + size};
  const COLORREF inside = Ref(enabled ? s.listBackground : s.buttonDisabled);
  DrawShape(c.dc, Shape::kEllipse, ring, &inside,
            Ref(checked && enabled ? s.optionMark : s.optionBorder), 0, m.line);
  if (checked) {
    const int inset = size / 4 + 1;
    const COLORREF mark = Ref(enabled ? s.optionMark : s.buttonDisabledText);
    const RECT dot{ring.left + inset, ring.top + inset, ring.right - inset, ring.bottom - inset};
    DrawShape(c.dc, Shape::kEllipse, dot, &mark, mark);
  }
  ::SetTextColor(c.dc, Ref(enabled ? s.windowText : s.buttonDisabledText));
  RECT text{ring.right + metrics.tmAveCharWidth, client.top, client.right, client.bottom};
  const std::wstring caption = TextOf(c.window);
  ::DrawTextW(c.dc, caption.c_str(), static_cast<int>(caption.size()), &text,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  if (::GetFocus() == c.window && FocusCuesShown(c.window)) {
    RECT measured = text;
    ::DrawTextW(c.dc, caption.c_str(), static_cast<int>(caption.size()), &measured,
                DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
    measured.top = (client.bottom - (measured.bottom - measured.top)) / 2;
    measured.bottom = measured.top + metrics.tmHeight;
    ::InflateRect(&measured, 1, 0);
    ::DrawFocusRect(c.dc, &measured);
  }
}

// Right of the ring and the space after it.
SIZE OptionCaptionRoom(SIZE client, const TEXTMETRICW& font, const Metrics& m) {
  return {client.cx - (1 + m.optionSize + font.tmAveCharWidth), client.cy};
}

}  // namespace skin
