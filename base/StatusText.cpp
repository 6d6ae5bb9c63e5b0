#include "base/StatusText.h"

#include <commctrl.h>

#include <cstring>
#include <cwchar>

namespace base {

bool SetPartTextCut(HWND bar, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  const bool setsText =
      message == WM_SETTEXT ||
      ((message == SB_SETTEXTW || message == SB_SETTEXTA) && !(wParam & SBT_OWNERDRAW));
  if (!setsText || !lParam) return false;
  std::wstring cut;
  if (message == SB_SETTEXTA) {
    const auto* text = reinterpret_cast<const char*>(lParam);
    if (strnlen(text, kLongestPartText + 1) <= kLongestPartText) return false;
    // Set in its wide form: each byte makes at most one character.
    cut.resize(kLongestPartText);
    const int length = ::MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(kLongestPartText),
                                             cut.data(), static_cast<int>(cut.size()));
    cut.resize(static_cast<size_t>(length > 0 ? length : 0));
    message = SB_SETTEXTW;
  } else {
    const auto* text = reinterpret_cast<const wchar_t*>(lParam);
    if (wcsnlen(text, kLongestPartText + 1) <= kLongestPartText) return false;
    cut.assign(text, kLongestPartText);
  }
  result = ::DefSubclassProc(bar, message, wParam, reinterpret_cast<LPARAM>(cut.c_str()));
  return true;
}

std::wstring PartText(HWND bar, int part) {
  const LRESULT info = ::SendMessageW(bar, SB_GETTEXTLENGTHW, static_cast<WPARAM>(part), 0);
  if (HIWORD(info) & SBT_OWNERDRAW) return {};
  std::wstring text(static_cast<size_t>(LOWORD(info)) + 1, L'\0');
  ::SendMessageW(bar, SB_GETTEXTW, static_cast<WPARAM>(part),
                 reinterpret_cast<LPARAM>(text.data()));
  text.resize(LOWORD(info));
  return text;
}

int PartCount(HWND bar) {
  const LRESULT parts = ::SendMessageW(bar, SB_GETPARTS, 0, 0);
  return parts < 0 ? 0 : parts > kMostParts ? kMostParts : static_cast<int>(parts);
}

}  // namespace base
