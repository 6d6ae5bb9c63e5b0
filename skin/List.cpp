#include <string>

#include "base/Window.h"
#include "skin/Kinds.h"

namespace skin {

void PaintList(const Canvas& c) {
  const Skin& s = c.skin;
  HWND window = c.window;
  const int count = static_cast<int>(::SendMessageW(window, LB_GETCOUNT, 0, 0));
  const int height = static_cast<int>(::SendMessageW(window, LB_GETITEMHEIGHT, 0, 0));
  const int selected = static_cast<int>(::SendMessageW(window, LB_GETCURSEL, 0, 0));
  if (height <= 0) return;
  Brush selection(Ref(s.listSelection));
  for (int i = static_cast<int>(::SendMessageW(window, LB_GETTOPINDEX, 0, 0)); i < count; ++i) {
    RECT item;
    if (::SendMessageW(window, LB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&item)) == LB_ERR) break;
    if (item.top >= c.client.bottom) break;
    const std::wstring line = base::ListLine(window, i);
    if (i == selected) ::FillRect(c.dc, &item, selection.get());
    ::SetTextColor(c.dc, Ref(i == selected ? s.listSelectionText : s.listText));
    RECT text = item;
    text.left += c.metrics.listTextInset;
    ::DrawTextW(c.dc, line.c_str(), static_cast<int>(line.size()), &text,
                DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  }
  // The keyboard focus: around the line the keyboard acts on, or inside the empty list.
  if (::GetFocus() == window && FocusCuesShown(window)) {
    RECT focus = c.client;
    ::InflateRect(&focus, -1, -1);
    const int caret = static_cast<int>(::SendMessageW(window, LB_GETCARETINDEX, 0, 0));
    if (count > 0 && caret >= 0 && caret < count)
      ::SendMessageW(window, LB_GETITEMRECT, caret, reinterpret_cast<LPARAM>(&focus));
    ::SetTextColor(c.dc, RGB(0, 0, 0));
    ::SetBkColor(c.dc, RGB(255, 255, 255));
    ::DrawFocusRect(c.dc, &focus);
  }
}

}  // namespace skin
