#include "skin/Painters.h"

#include <string>

namespace skin {

void PaintList(HWND window, HDC target, const Look& look) {
  RECT client;
  ::GetClientRect(window, &client);
  Buffered buffer(target, client);
  HDC dc = buffer.get();
  const Skin& s = look.skin;
  ::FillRect(dc, &client, look.list.get());
  Select font(dc, FontOf(window));
  ::SetBkMode(dc, TRANSPARENT);
  const int count = static_cast<int>(::SendMessageW(window, LB_GETCOUNT, 0, 0));
  const int height = static_cast<int>(::SendMessageW(window, LB_GETITEMHEIGHT, 0, 0));
  const int selected = static_cast<int>(::SendMessageW(window, LB_GETCURSEL, 0, 0));
  if (height <= 0) return;
  Brush selection(Ref(s.listSelection));
  for (int i = static_cast<int>(::SendMessageW(window, LB_GETTOPINDEX, 0, 0)); i < count; ++i) {
    RECT item;
    if (::SendMessageW(window, LB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&item)) == LB_ERR) break;
    if (item.top >= client.bottom) break;
    const int length = static_cast<int>(::SendMessageW(window, LB_GETTEXTLEN, i, 0));
    if (length < 0) continue;
    std::wstring line(static_cast<size_t>(length) + 1, L'\0');
    ::SendMessageW(window, LB_GETTEXT, i, reinterpret_cast<LPARAM>(line.data()));
    line.resize(static_cast<size_t>(length));
    if (i == selected) ::FillRect(dc, &item, selection.get());
    ::SetTextColor(dc, Ref(i == selected ? s.listSelectionText : s.listText));
    RECT text = item;
    text.left += MetricsAt(::GetDeviceCaps(dc, LOGPIXELSY)).listTextInset;
    ::DrawTextW(dc, line.c_str(), length, &text,
                DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  }
  // The keyboard focus: around the line the keyboard acts on, or inside the empty list.
  if (::GetFocus() == window && FocusCuesShown(window)) {
    RECT focus = client;
    ::InflateRect(&focus, -1, -1);
    const int caret = static_cast<int>(::SendMessageW(window, LB_GETCARETINDEX, 0, 0));
    if (count > 0 && caret >= 0 && caret < count)
      ::SendMessageW(window, LB_GETITEMRECT, caret, reinterpret_cast<LPARAM>(&focus));
    ::SetTextColor(dc, RGB(0, 0, 0));
    ::SetBkColor(dc, RGB(255, 255, 255));
    ::DrawFocusRect(dc, &focus);
  }
}

}  // namespace skin
