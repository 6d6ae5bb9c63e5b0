#pragma once
// Conversions of the program's UTF-16 texts to and from a code page. Everything the user sees is
// UTF-16; bytes appear only where a file or a Windows call takes them.
#include <string>
#include <string_view>

namespace base {

// Bytes in `codePage` to UTF-16. Bytes the code page cannot decode become U+FFFD.
std::wstring ToWide(unsigned codePage, std::string_view bytes);
// UTF-16 to bytes in `codePage`, converted with WideCharToMultiByte's `flags`.
std::string FromWide(unsigned codePage, std::wstring_view wide, unsigned long flags);

// UTF-8 (as stored in our sources and files) to UTF-16, and back.
std::wstring Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(std::wstring_view wide);

}  // namespace base
