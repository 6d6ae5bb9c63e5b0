#include "skin/ReadWindow.h"

#include "base/Window.h"

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
  // No caption that fits on a control is longer than this.
  constexpr int kLongestCaption = 4096;
  return base::WindowText(window, kLongestCaption);
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
