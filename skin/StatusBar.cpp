#include "skin/Painters.h"

#include <commctrl.h>

#include <string>

#include "base/StatusText.h"

namespace skin {

void PaintStatus(HWND window, HDC target, const Look& look) {
  RECT client;
  ::GetClientRect(window, &client);
  Buffered buffer(target, client);
  HDC dc = buffer.get();
  const Skin& s = look.skin;
  ::FillRect(dc, &client, look.status.get());
  const Metrics m = MetricsAt(::GetDeviceCaps(dc, LOGPIXELSY));
  {
    RECT top{client.left, client.top, client.right, client.top + m.line};
    Brush line(Ref(s.statusBorder));
    ::FillRect(dc, &top, line.get());
  }
  Select font(dc, FontOf(window));
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, Ref(s.statusText));
  const int parts = base::PartCount(window);
  for (int i = 0; i < parts; ++i) {
    RECT part;
    if (!::SendMessageW(window, SB_GETRECT, i, reinterpret_cast<LPARAM>(&part))) continue;
    if (part.left >= client.right) break;  // this part and the rest lie past the bar's end
    if (part.right < 0 || part.right > client.right) part.right = client.right;
    ::InflateRect(&part, -m.statusInsetX, -m.statusInsetY);
    RoundedBox(dc, part, Ref(s.statusBackground), Ref(s.statusBorder), m.statusRadius, m.line);
    const std::wstring text = base::PartText(window, i);
    RECT inner = part;
    ::InflateRect(&inner, -m.statusTextInset, 0);
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &inner,
                DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  }
}

}  // namespace skin
