#pragma once
// Texts in the system's ANSI code page, for the Windows calls and the skin library that take
// them, and the platform's lower-casing.
#include <string>
#include <string_view>

namespace platform {

// ANSI code page text to UTF-16. Bytes the code page cannot decode become U+FFFD.
std::wstring AnsiToWide(std::string_view ansi);
// UTF-16 to the ANSI code page (or another code page); characters the code page cannot hold
// become its default character ('?'), never a look-alike.
std::string WideToAnsi(std::wstring_view wide, unsigned codePage = 0 /* CP_ACP */);
// A path for a call that takes it in the ANSI code page. Where the code page cannot hold a
// character of it, the short (8.3) name of the path, or of the folder that holds it, stands in:
// Windows makes short names of characters every code page holds. Where there is no such name
// (short names switched off, or no such folder), those characters become '?' as above.
std::string PathToAnsi(std::wstring_view path, unsigned codePage = 0 /* CP_ACP */);
// The flags WideCharToMultiByte accepts for `codePage` (CP_ACP and its kin stand for the code
// page they name): no best fit, except for the code pages that take no flags at all.
unsigned long WideToMultiByteFlags(unsigned codePage);
// The platform's lower-casing of text, independent of the user's locale quirks.
std::wstring LowerCase(std::wstring_view text);

}  // namespace platform
