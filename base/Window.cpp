#include "base/Window.h"

#include <algorithm>

namespace base {

std::wstring WindowText(HWND window, int longest) {
  const int length = std::clamp(::GetWindowTextLengthW(window), 0, longest);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const int copied = ::GetWindowTextW(window, text.data(), length + 1);
  text.resize(static_cast<size_t>(std::clamp(copied, 0, length)));
  return text;
}

std::wstring ListLine(HWND list, int index) {
  const LRESULT length = ::SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length < 0) return {};
  std::wstring line(static_cast<size_t>(length) + 1, L'\0');
  const LRESULT copied = ::SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(index),
                                        reinterpret_cast<LPARAM>(line.data()));
  line.resize(static_cast<size_t>(std::clamp<LRESULT>(copied, 0, length)));
  return line;
}

}  // namespace base
