#include <windows.h>
#include <commctrl.h>

#include <string>

#include "base/StatusText.h"
#include "skin/Kinds.h"

namespace skin {

void PaintStatus(const Canvas& c) {
  const Skin& s = c.skin;
  const Metrics& m = c.metrics;
  const RECT& client = c.client;
  {
    RECT top{client.left, client.top, client.right, client.top + m.line};
    Brush line(Ref(s.statusBorder));
    ::FillRect(c.dc, &top, line.get());
  }
  ::SetTextColor(c.dc, Ref(s.statusText));
  const int parts = base::PartCount(c.window);
  for (int i = 0; i < parts; ++i) {
    RECT part;
    if (!::SendMessageW(c.window, SB_GETRECT, i, reinterpret_cast<LPARAM>(&part))) continue;
    if (part.left >= client.right) break;  // this part and the rest lie past the bar's end
    if (part.right < 0 || part.right > client.right) part.right = client.right;
    ::InflateRect(&part, -m.statusInsetX, -m.statusInsetY);
    RoundedBox(c.dc, part, Ref(s.statusBackground), Ref(s.statusBorder), m.statusRadius, m.line);
    const std::wstring text = base::PartText(c.window, i);
    RECT inner = part;
    ::InflateRect(&inner, -m.statusTextInset, 0);
    ::DrawTextW(c.dc, text.c_str(), static_cast<int>(text.size()), &inner,
                DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  }
}

}  // namespace skin
