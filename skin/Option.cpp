#include "skin/Painters.h"

#include <algorithm>
#include <string>

namespace skin {

void PaintOption(HWND window, HDC target, const Look& look) {
  RECT client;
  ::GetClientRect(window, &client);
  Buffered buffer(target, client);
  HDC dc = buffer.get();
  const Skin& s = look.skin;
  const bool enabled = ::IsWindowEnabled(window);
  const bool checked = ::SendMessageW(window, BM_GETCHECK, 0, 0) == BST_CHECKED;
  ::FillRect(dc, &client, look.window.get());

  Select font(dc, FontOf(window));
  TEXTMETRICW metrics{};
  ::GetTextMetricsW(dc, &metrics);
  const Metrics m = MetricsAt(::GetDeviceCaps(dc, LOGPIXELSY));
  const int size = std::min<int>(m.optionSize, client.bottom) | 1;
  const int top = (client.bottom - size) / 2;
  const RECT ring{client.left + 1, top, client.left + 1 + size, top + size};
  const COLORREF inside = Ref(enabled ? s.listBackground : s.buttonDisabled);
  DrawShape(dc, Shape::kEllipse, ring, &inside,
            Ref(checked && enabled ? s.optionMark : s.optionBorder), 0, m.line);
  if (checked) {
    const int inset = size / 4 + 1;
    const COLORREF mark = Ref(enabled ? s.optionMark : s.buttonDisabledText);
    const RECT dot{ring.left + inset, ring.top + inset, ring.right - inset, ring.bottom - inset};
    DrawShape(dc, Shape::kEllipse, dot, &mark, mark);
  }
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, Ref(enabled ? s.windowText : s.buttonDisabledText));
  RECT text{ring.right + metrics.tmAveCharWidth, client.top, client.right, client.bottom};
  const std::wstring caption = TextOf(window);
  ::DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  if (::GetFocus() == window && FocusCuesShown(window)) {
    RECT measured = text;
    ::DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &measured,
                DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
    measured.top = (client.bottom - (measured.bottom - measured.top)) / 2;
    measured.bottom = measured.top + metrics.tmHeight;
    ::InflateRect(&measured, 1, 0);
    ::DrawFocusRect(dc, &measured);
  }
}

}  // namespace skin
