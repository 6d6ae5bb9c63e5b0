#include "skin/SkinFile.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>

#include "ThisProgram.h"

namespace {

using skin::Color;
using skin::Parse;
using skin::ParseStatus;
using skin::Skin;

constexpr Color kRed{0xFF, 0, 0};

std::string ShippedSkin() {
  const std::wstring file = support::ThisProgramsFolder() + L"\\skinh.she";
  std::ifstream in(file.c_str(), std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(SkinFile, TheShippedFileSetsEveryKeyToItsDefault) {
  const std::string text = ShippedSkin();
  ASSERT_FALSE(text.empty());
  const auto result = Parse(text);
  EXPECT_EQ(result.status, ParseStatus::kOk);
  EXPECT_EQ(result.keysSet, 27);
  EXPECT_EQ(result.linesIgnored, 0);
  const Skin defaults;
  EXPECT_EQ(result.skin.windowBackground, defaults.windowBackground);
  EXPECT_EQ(result.skin.buttonFace, defaults.buttonFace);
  EXPECT_EQ(result.skin.listSelection, defaults.listSelection);
  EXPECT_EQ(result.skin.messageBackground, defaults.messageBackground);
  EXPECT_EQ(result.skin.fontFace, defaults.fontFace);
  EXPECT_EQ(result.skin.fontSize, defaults.fontSize);
}

// WCAG 2.1's contrast ratio of two colours, from their relative luminance.
double ContrastRatio(Color a, Color b) {
  auto luminance = [](Color c) {
    auto channel = [](std::uint8_t v) {
      const double s = v / 255.0;
      return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.r) + 0.7152 * channel(c.g) + 0.0722 * channel(c.b);
  };
  const double la = luminance(a), lb = luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

TEST(SkinFile, TheShippedLookIsReadableForPeopleWithLowVision) {
  const Skin s = Parse(ShippedSkin()).skin;
  struct Pair {
    const char* what;
    Color front, back;
    double least;  // 3:1 for what identifies a control (WCAG 1.4.11), 4.5:1 for text (1.4.3)
  } pairs[] = {
      {"a button's outline on the window", s.buttonBorder, s.windowBackground, 3.0},
      {"a button's outline in a message box", s.buttonBorder, s.messageBackground, 3.0},
      {"the list's and text box's border", s.buttonBorder, s.windowBackground, 3.0},
      {"an option's ring", s.optionBorder, s.windowBackground, 3.0},
      {"a selected option's ring and dot", s.optionMark, s.windowBackground, 3.0},
      {"a frame's line", s.frameBorder, s.windowBackground, 3.0},
      {"a status panel's outline", s.statusBorder, s.statusBackground, 3.0},
      {"the focus ring on a button", s.buttonFocus, s.buttonFace, 3.0},
      {"the focus ring against the window", s.buttonFocus, s.windowBackground, 3.0},
      {"plain text", s.windowText, s.windowBackground, 4.5},
      {"a frame's caption", s.frameText, s.windowBackground, 4.5},
      {"a button's caption", s.buttonText, s.buttonFace, 4.5},
      {"a button's caption under the mouse", s.buttonText, s.buttonHot, 4.5},
      {"a button's caption held down", s.buttonText, s.buttonPressed, 4.5},
      {"a log line", s.listText, s.listBackground, 4.5},
      {"the selected log line", s.listSelectionText, s.listSelection, 4.5},
      {"the help text", s.textText, s.textBackground, 4.5},
      {"the status text", s.statusText, s.statusBackground, 4.5},
      {"a message box's text", s.messageText, s.messageBackground, 4.5},
  };
  for (const Pair& p : pairs) EXPECT_GE(ContrastRatio(p.front, p.back), p.least) << p.what;
}

TEST(SkinFile, ABadLineLeavesItsKeyAtTheDefaultAndTouchesNothingElse) {
  struct Case {
    const char* what;
    const char* line;
  } cases[] = {
      {"a colour with five digits", "text = #12345"},
      {"a colour that is not hex", "text = #GG0000"},
      {"a colour without its #", "text = 123456"},
      {"a colour with seven digits", "text = #1234567"},
      {"a colour with blanks inside", "text = # 12345"},
      {"a line without =", "text #123456"},
      {"an unknown key", "colour = #123456"},
      {"a key with no value", "text ="},
      {"an overlong line", nullptr},
  };
  const Skin defaults;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string bad = c.line ? c.line : "text = #" + std::string(2000, '1');
    const std::string text =
        "[window]\nbackground = #FF0000\n" + bad + "\n[button]\nface = #FF0000\n";
    const auto result = Parse(text);
    EXPECT_EQ(result.status, ParseStatus::kOk);
    EXPECT_EQ(result.skin.windowText, defaults.windowText);
    EXPECT_EQ(result.skin.windowBackground, kRed);
    EXPECT_EQ(result.skin.buttonFace, kRed);
    EXPECT_EQ(result.keysSet, 2);
    EXPECT_EQ(result.linesIgnored, 1);
  }
}

TEST(SkinFile, SectionsScopeTheirKeysAndUnknownOnesAreIgnored) {
  const auto result = Parse(
      "background = #FF0000\n"        // before any section: belongs to none
      "[sparkles]\nface = #FF0000\n"  // an unknown section's keys go nowhere
      "[button\nface = #FF0000\n"     // a broken header ends the section before it
      "[ button ]\nhot = #FF0000\n");
  EXPECT_EQ(result.status, ParseStatus::kOk);
  const Skin defaults;
  EXPECT_EQ(result.skin.windowBackground, defaults.windowBackground);
  EXPECT_EQ(result.skin.buttonFace, defaults.buttonFace);
  EXPECT_EQ(result.skin.buttonHot, kRed);
  EXPECT_EQ(result.keysSet, 1);
}

TEST(SkinFile, FontFaceAndSizeHaveTheirLimits) {
  struct Case {
    const char* value;
    std::string face;
    int size;
  } cases[] = {
      {"face = 微软雅黑\nsize = 8", "微软雅黑", 8},
      {"size = 9pt", "Microsoft YaHei", 9},
      {"face = ", "Microsoft YaHei", 9},
      // The vertical form of a face would turn every caption on its side.
      {"face = @SimSun", "Microsoft YaHei", 9},
      // Sizes past the range that fits the layout are brought to its nearer end.
      {"size = 11", "Microsoft YaHei", 10},
      {"size = 36", "Microsoft YaHei", 10},
      {"size = 5", "Microsoft YaHei", 6},
      {"size = -9", "Microsoft YaHei", 6},
      {"size = 99999999999", "Microsoft YaHei", 10},  // past what an int holds
      {"size = -99999999999", "Microsoft YaHei", 6},
      // Windows takes 31 UTF-16 units of a face name: more is refused, not cut.
      {"face = aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", 9},
      {"face = aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", "Microsoft YaHei", 9},
      {"face = 字字字字字字字字字字字字字字字字字字字字字字字字字字字字字字字",
       "字字字字字字字字字字字字字字字字字字字字字字字字字字字字字字字", 9},
      {"face = 𝐀𝐀𝐀𝐀𝐀𝐀𝐀𝐀𝐀𝐀𝐀𝐀𝐀𝐀𝐀𝐀", "Microsoft YaHei", 9},  // 16 of two units each
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    const auto result = Parse(std::string("[font]\n") + c.value + "\n");
    EXPECT_EQ(result.skin.fontFace, c.face);
    EXPECT_EQ(result.skin.fontSize, c.size);
  }
  const auto longFace = Parse("[font]\nface = " + std::string(94, 'x') + "\n");
  EXPECT_EQ(longFace.skin.fontFace, Skin{}.fontFace);
}

TEST(SkinFile, ReadsWhatEditorsSaveAndRefusesWhatIsNoSkinFile) {
  constexpr ParseStatus kOk = ParseStatus::kOk, kNotASkin = ParseStatus::kNotASkin;
  const Color kDefault = Skin{}.windowBackground;
  struct Case {
    const char* what;
    std::string text;
    ParseStatus status;
    Color background;
  } cases[] = {
      // clang-format off
      {"a byte-order mark", "\xEF\xBB\xBF[window]\nbackground = #FF0000\n", kOk, kRed},
      {"CR LF", "[window]\r\nbackground = #FF0000\r\n", kOk, kRed},
      {"CR LF and LF mixed, no final break", "# c\r\n[window]\nbackground = #FF0000", kOk, kRed},
      {"CR alone", "# c\r[window]\rbackground = #FF0000\r", kOk, kRed},
      {"all three mixed", "[window]\r\rtext = #00FF00\r\nbackground = #FF0000\n", kOk, kRed},
      {"blanks and tabs around everything", "  [window]\t\n\t background\t=  #FF0000  \n", kOk, kRed},
      {"comments of both kinds", "; one\n# two\n[window]\nbackground = #FF0000\n", kOk, kRed},
      {"an empty file", "", kNotASkin, kDefault},
      {"only comments", "# nothing here\n\n", kNotASkin, kDefault},
      {"no section of ours", "[other]\nkey = value\n", kNotASkin, kDefault},
      {"a NUL byte", std::string("[window]\nbackground = #FF0000\n\0", 31), kNotASkin, kDefault},
      {"bytes that are not UTF-8", "[window]\nbackground = #FF0000\n\xC3\x28\n", kNotASkin, kDefault},
      {"an overlong UTF-8 form", "[window]\n\xC0\xAF\n", kNotASkin, kDefault},
      {"a truncated UTF-8 character", "[window]\n\xE5\xBE", kNotASkin, kDefault},
      {"one byte over 64 KiB", "[window]\n" + std::string(64 * 1024 - 8, '#'), ParseStatus::kTooLarge, kDefault},
      {"exactly 64 KiB", "[window]\n" + std::string(64 * 1024 - 9, '#'), kOk, kDefault},
      // clang-format on
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const auto result = Parse(c.text);
    EXPECT_EQ(result.status, c.status);
    EXPECT_EQ(result.skin.windowBackground, c.background);
  }
}

}  // namespace
