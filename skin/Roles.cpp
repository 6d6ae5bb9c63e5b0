#include "skin/Roles.h"

#include <algorithm>

namespace skin {

std::wstring ClassName(HWND window) {
  wchar_t name[64] = L"";
  ::GetClassNameW(window, name, 64);
  return name;
}

HFONT FontOf(HWND window) {
  auto font = reinterpret_cast<HFONT>(::SendMessageW(window, WM_GETFONT, 0, 0));
  return font ? font : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
}

std::wstring TextOf(HWND window) {
  // The length is the control's own word, and a control may answer anything: no caption that
  // fits on a control is longer than this, and the read is bounded by the buffer.
  constexpr int kLongestCaption = 4096;
  const int length = std::clamp(::GetWindowTextLengthW(window), 0, kLongestCaption);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const int copied = ::GetWindowTextW(window, text.data(), length + 1);
  text.resize(static_cast<size_t>(std::clamp(copied, 0, length)));
  return text;
}

bool HasNonClientArea(HWND window) {
  RECT outer, client;
  ::GetWindowRect(window, &outer);
  ::GetClientRect(window, &client);
  return outer.right - outer.left != client.right || outer.bottom - outer.top != client.bottom;
}

bool FocusCuesShown(HWND window) {
  return !(::SendMessageW(window, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS);
}

bool Hot(HWND window) { return ::GetPropW(window, kHotProperty) != nullptr; }

}  // namespace skin
