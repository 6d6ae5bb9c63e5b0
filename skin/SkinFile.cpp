#include "skin/SkinFile.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace skin {
namespace {

enum class ValueType { kColor, kFace, kSize };

struct Key {
  std::string_view section;
  std::string_view name;
  ValueType type;
  Color Skin::*color = nullptr;
};

constexpr std::array kKeys{
    Key{"window", "background", ValueType::kColor, &Skin::windowBackground},
    Key{"window", "text", ValueType::kColor, &Skin::windowText},
    Key{"frame", "border", ValueType::kColor, &Skin::frameBorder},
    Key{"frame", "text", ValueType::kColor, &Skin::frameText},
    Key{"button", "face", ValueType::kColor, &Skin::buttonFace},
    Key{"button", "hot", ValueType::kColor, &Skin::buttonHot},
    Key{"button", "pressed", ValueType::kColor, &Skin::buttonPressed},
    Key{"button", "disabled", ValueType::kColor, &Skin::buttonDisabled},
    Key{"button", "border", ValueType::kColor, &Skin::buttonBorder},
    Key{"button", "focus", ValueType::kColor, &Skin::buttonFocus},
    Key{"button", "text", ValueType::kColor, &Skin::buttonText},
    Key{"button", "disabled_text", ValueType::kColor, &Skin::buttonDisabledText},
    Key{"option", "mark", ValueType::kColor, &Skin::optionMark},
    Key{"option", "border", ValueType::kColor, &Skin::optionBorder},
    Key{"list", "background", ValueType::kColor, &Skin::listBackground},
    Key{"list", "text", ValueType::kColor, &Skin::listText},
    Key{"list", "selection", ValueType::kColor, &Skin::listSelection},
    Key{"list", "selection_text", ValueType::kColor, &Skin::listSelectionText},
    Key{"text", "background", ValueType::kColor, &Skin::textBackground},
    Key{"text", "text", ValueType::kColor, &Skin::textText},
    Key{"status", "background", ValueType::kColor, &Skin::statusBackground},
    Key{"status", "text", ValueType::kColor, &Skin::statusText},
    Key{"status", "border", ValueType::kColor, &Skin::statusBorder},
    Key{"message", "background", ValueType::kColor, &Skin::messageBackground},
    Key{"message", "text", ValueType::kColor, &Skin::messageText},
    Key{"font", "face", ValueType::kFace},
    Key{"font", "size", ValueType::kSize},
};

std::string_view Trim(std::string_view s) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

// Well-formed UTF-8 without NUL or other control characters but tab, CR and LF: what a text
// editor saves. A binary file fails here.
bool IsText(std::string_view text) {
  size_t i = 0;
  while (i < text.size()) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) {
      if (c < 0x20 && c != '\t' && c != '\r' && c != '\n') return false;
      if (c == 0x7F) return false;
      ++i;
      continue;
    }
    size_t length = 0;
    std::uint32_t code = 0;
    if ((c & 0xE0) == 0xC0)
      length = 2, code = c & 0x1F;
    else if ((c & 0xF0) == 0xE0)
      length = 3, code = c & 0x0F;
    else if ((c & 0xF8) == 0xF0)
      length = 4, code = c & 0x07;
    else
      return false;
    if (i + length > text.size()) return false;
    for (size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      code = (code << 6) | (next & 0x3F);
    }
    // No overlong forms, no surrogates, nothing past U+10FFFF.
    static constexpr std::uint32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < kMin[length] || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) return false;
    i += length;
  }
  return true;
}

bool IsKnownSection(std::string_view name) {
  for (const Key& key : kKeys)
    if (key.section == name) return true;
  return false;
}

bool ApplyValue(const Key& key, std::string_view value, Skin& skin) {
  switch (key.type) {
    case ValueType::kColor:
      return ParseColor(value, skin.*key.color);
    case ValueType::kFace:
      // A face whose name begins with "@" is the vertical form of a CJK face: every caption
      // would come out turned on its side.
      if (value.empty() || Utf16Length(value) > kMaxFaceUnits || value.front() == '@') return false;
      skin.fontFace = std::string(value);
      return true;
    case ValueType::kSize: {
      int size = 0;
      const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), size);
      if (end != value.data() + value.size()) return false;
      // Beyond the largest size the captions no longer fit their controls; below the smallest
      // the text is unreadable. A size outside the range, even past what a number here can
      // hold, is brought to its nearer end.
      if (error == std::errc::result_out_of_range)
        size = value.front() == '-' ? kMinFontSize : kMaxFontSize;
      else if (error != std::errc())
        return false;
      skin.fontSize = std::clamp(size, kMinFontSize, kMaxFontSize);
      return true;
    }
  }
  return false;
}

}  // namespace

bool ParseColor(std::string_view text, Color& color) {
  if (text.size() != 7 || text[0] != '#') return false;
  std::uint8_t parts[3];
  for (int i = 0; i < 3; ++i) {
    const char* first = text.data() + 1 + 2 * i;
    const auto [end, error] = std::from_chars(first, first + 2, parts[i], 16);
    if (error != std::errc() || end != first + 2) return false;
  }
  color = {parts[0], parts[1], parts[2]};
  return true;
}

std::size_t Utf16Length(std::string_view utf8) {
  std::size_t units = 0;
  for (const char c : utf8) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte & 0xC0) == 0x80) continue;  // a continuation byte
    units += byte >= 0xF0 ? 2 : 1;
  }
  return units;
}

ParseResult Parse(std::string_view text) {
  ParseResult result;
  if (text.size() > kMaxFileBytes) {
    result.status = ParseStatus::kTooLarge;
    return result;
  }
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  if (!IsText(text)) return result;

  bool sawSection = false;
  std::string_view section;
  while (!text.empty()) {
    // A line ends at LF, CR LF or a lone CR, whichever editor saved the file.
    const size_t end = text.find_first_of("\r\n");
    std::string_view line = text.substr(0, end);
    size_t next = end == std::string_view::npos ? text.size() : end + 1;
    if (end != std::string_view::npos && text[end] == '\r' && next < text.size() &&
        text[next] == '\n')
      ++next;
    text.remove_prefix(next);
    if (line.size() > kMaxLineBytes) {
      ++result.linesIgnored;
      continue;
    }
    line = Trim(line);
    if (line.empty() || line.front() == '#' || line.front() == ';') continue;

    if (line.front() == '[') {
      if (line.back() != ']') {
        section = {};
        ++result.linesIgnored;
        continue;
      }
      section = Trim(line.substr(1, line.size() - 2));
      if (IsKnownSection(section))
        sawSection = true;
      else
        ++result.linesIgnored;
      continue;
    }

    const size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
      ++result.linesIgnored;
      continue;
    }
    const std::string_view name = Trim(line.substr(0, equals));
    const std::string_view value = Trim(line.substr(equals + 1));
    const Key* key = nullptr;
    for (const Key& candidate : kKeys)
      if (candidate.section == section && candidate.name == name) key = &candidate;
    // An unknown key, or a value that does not fit, leaves that key at its default and
    // touches nothing else.
    if (key && ApplyValue(*key, value, result.skin))
      ++result.keysSet;
    else
      ++result.linesIgnored;
  }
  result.status = sawSection ? ParseStatus::kOk : ParseStatus::kNotASkin;
  if (!sawSection) result.skin = Skin{};
  return result;
}

}  // namespace skin
