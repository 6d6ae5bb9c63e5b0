#pragma once
// The skin file: UTF-8 text of [section] headers, "key = value" lines and "#" comments.
// Plain C++ with no Windows calls, so the parser is tested and fuzzed on any machine.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace skin {

struct Color {
  std::uint8_t r = 0, g = 0, b = 0;
  friend bool operator==(const Color&, const Color&) = default;
};

// Every value a skin can set, each with its default: a light theme with one blue accent.
struct Skin {
  Color windowBackground{0xF4, 0xF6, 0xF9};
  Color windowText{0x1F, 0x29, 0x37};

  Color frameBorder{0x83, 0x8D, 0x9C};
  Color frameText{0x25, 0x63, 0xEB};

  Color buttonFace{0xFF, 0xFF, 0xFF};
  Color buttonHot{0xEA, 0xF1, 0xFE};
  Color buttonPressed{0xCF, 0xDF, 0xFD};
  Color buttonDisabled{0xEE, 0xF0, 0xF3};
  Color buttonBorder{0x7D, 0x86, 0x96};
  Color buttonFocus{0x25, 0x63, 0xEB};
  Color buttonText{0x1F, 0x29, 0x37};
  Color buttonDisabledText{0x9C, 0xA3, 0xAF};

  Color optionMark{0x25, 0x63, 0xEB};
  Color optionBorder{0x7D, 0x86, 0x96};

  Color listBackground{0xFF, 0xFF, 0xFF};
  Color listText{0x1F, 0x29, 0x37};
  Color listSelection{0x25, 0x63, 0xEB};
  Color listSelectionText{0xFF, 0xFF, 0xFF};

  Color textBackground{0xFF, 0xFF, 0xFF};
  Color textText{0x37, 0x41, 0x51};

  Color statusBackground{0xE8, 0xED, 0xF3};
  Color statusText{0x37, 0x41, 0x51};
  Color statusBorder{0x7D, 0x86, 0x96};

  Color messageBackground{0xFF, 0xFF, 0xFF};
  Color messageText{0x1F, 0x29, 0x37};

  std::string fontFace = "Microsoft YaHei";  // UTF-8
  int fontSize = 9;                          // points
};

inline constexpr std::size_t kMaxFileBytes = 64 * 1024;
inline constexpr std::size_t kMaxLineBytes = 1024;
// A face name Windows can take: LF_FACESIZE less its terminating NUL, in UTF-16 code units.
inline constexpr std::size_t kMaxFaceUnits = 31;
// The font sizes, in points, at which every caption still fits its control at any DPI.
inline constexpr int kMinFontSize = 6;
inline constexpr int kMaxFontSize = 10;

enum class ParseStatus {
  kOk,        // a skin file; every key it set well is in the result
  kTooLarge,  // more than kMaxFileBytes
  kNotASkin,  // empty, not UTF-8 text, or without a single section of ours
};

struct ParseResult {
  ParseStatus status = ParseStatus::kNotASkin;
  Skin skin;             // defaults where a key was missing or its value malformed
  int keysSet = 0;       // keys that took a value from the file
  int linesIgnored = 0;  // unknown, malformed or overlong lines and values
};

ParseResult Parse(std::string_view text);

// "#RRGGBB" only; anything else is no colour.
bool ParseColor(std::string_view text, Color& color);

// The length of well-formed UTF-8 text in UTF-16 code units: a character past U+FFFF takes two.
std::size_t Utf16Length(std::string_view utf8);

}  // namespace skin
