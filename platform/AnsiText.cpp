#include "platform/AnsiText.h"

#include <windows.h>

#include "base/Text.h"

namespace platform {
namespace {

// Whether the code page holds every character of `wide`: the conversion comes back unchanged.
// (The code pages that take no flags refuse to report a replaced character any other way.)
bool Holds(UINT codePage, std::wstring_view wide, const std::string& converted) {
  return base::ToWide(codePage, converted) == wide;
}

std::string FromWide(UINT codePage, std::wstring_view wide) {
  return base::FromWide(codePage, wide, WideToMultiByteFlags(codePage));
}

std::wstring ShortName(const std::wstring& path) {
  const DWORD size = ::GetShortPathNameW(path.c_str(), nullptr, 0);
  if (size == 0) return {};
  std::wstring name(size, L'\0');
  const DWORD length = ::GetShortPathNameW(path.c_str(), name.data(), size);
  if (length == 0 || length >= size) return {};
  name.resize(length);
  return name;
}

}  // namespace

unsigned long WideToMultiByteFlags(unsigned codePage) {
  if (codePage == CP_ACP || codePage == CP_THREAD_ACP) codePage = ::GetACP();
  if (codePage == CP_OEMCP) codePage = ::GetOEMCP();
  // No best fit: Windows would otherwise turn a character the code page lacks into a
  // look-alike ("ā" into "a"), and a path so converted names a different, existing folder.
  // UTF-8 (which Windows 10 offers as the ANSI code page), UTF-7, the symbol code page and the
  // ISO-2022, HZ, GB18030 and ISCII families take no flags: Windows fails the conversion with
  // ERROR_INVALID_FLAGS if any are given. None of them has a best fit to fear.
  const bool takesNoFlags = codePage == CP_UTF8 || codePage == CP_UTF7 || codePage == 42 ||
                            (codePage >= 50220 && codePage <= 57011);
  return takesNoFlags ? 0 : WC_NO_BEST_FIT_CHARS;
}

std::wstring AnsiToWide(std::string_view ansi) { return base::ToWide(CP_ACP, ansi); }
std::string WideToAnsi(std::wstring_view wide, unsigned codePage) {
  return FromWide(codePage, wide);
}

std::string PathToAnsi(std::wstring_view path, unsigned codePage) {
  const std::string plain = FromWide(codePage, path);
  if (Holds(codePage, path, plain)) return plain;
  // The whole path first, then the folders that hold it, innermost first: a file that does not
  // exist has no short name, but its folder may.
  for (size_t end = path.size(); end > 0 && end != std::wstring_view::npos;
       end = path.find_last_of(L"\\/", end - 1)) {
    const std::wstring shortName = ShortName(std::wstring(path.substr(0, end)));
    if (shortName.empty()) continue;
    const std::wstring candidate = shortName + std::wstring(path.substr(end));
    std::string converted = FromWide(codePage, candidate);
    if (Holds(codePage, candidate, converted)) return converted;
  }
  return plain;
}

std::wstring LowerCase(std::wstring_view text) {
  std::wstring lower(text);
  if (!lower.empty()) ::CharLowerBuffW(lower.data(), static_cast<DWORD>(lower.size()));
  return lower;
}

}  // namespace platform
