// libFuzzer target for the skin file parser: whatever the bytes, it returns a result whose
// values are in range, and never reads or writes out of bounds (the sanitizers watch that).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "skin/SkinFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const skin::ParseResult result = skin::Parse(text);
  if (result.skin.fontSize < skin::kMinFontSize || result.skin.fontSize > skin::kMaxFontSize)
    std::abort();
  if (result.skin.fontFace.empty() || skin::Utf16Length(result.skin.fontFace) > skin::kMaxFaceUnits)
    std::abort();
  if (result.status != skin::ParseStatus::kOk && result.keysSet != 0 &&
      result.status != skin::ParseStatus::kNotASkin)
    std::abort();
  if (size > skin::kMaxFileBytes && result.status != skin::ParseStatus::kTooLarge) std::abort();
  return 0;
}
