#pragma once
// Conversions between the program's UTF-16 texts and the system's ANSI code page, and the
// platform's lower-casing. Everything the user sees is UTF-16; ANSI appears only where a
// Windows call or the skin library takes it.
#include <string>
#include <string_view>

namespace platform {

// ANSI code page text to UTF-16. Bytes the code page cannot decode become U+FFFD.
std::wstring AnsiToWide(std::string_view ansi);
// UTF-16 to the ANSI code page (or another single- or double-byte code page); characters the
// code page cannot hold become its default character ('?'), never a look-alike.
std::string WideToAnsi(std::wstring_view wide, unsigned codePage = 0 /* CP_ACP */);
// The platform's lower-casing of text, independent of the user's locale quirks.
std::wstring LowerCase(std::wstring_view text);
// UTF-8 (as stored in our sources and files) to UTF-16, and back.
std::wstring Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(std::wstring_view wide);

}  // namespace platform
