#include "skin/Look.h"

#include <string>

#include "base/Fonts.h"
#include "base/Text.h"
#include "skin/Kinds.h"
#include "skin/Metrics.h"

namespace skin {
namespace {

// Whether every caption fits inside its control, clear of the outlines the painters draw
// around it, in `font`.
bool CaptionsFit(const LOGFONTW& font, const std::vector<Caption>& captions, const Metrics& m) {
  WindowDc screen(nullptr);
  base::UniqueMemoryDc dc(::CreateCompatibleDC(screen.get()));
  base::UniqueGdi<HFONT> made(::CreateFontIndirectW(&font));
  if (!dc || !made) return true;  // nothing to measure with: keep the size asked for
  Select selected(dc.get(), made.get());
  TEXTMETRICW tm{};
  ::GetTextMetricsW(dc.get(), &tm);
  const int em = tm.tmHeight - tm.tmInternalLeading;  // what shows of a line of text
  for (const Caption& c : captions) {
    const Kind* kind = KindOf(c.role);
    if (!kind || !kind->captionRoom) continue;
    SIZE text{};
    ::GetTextExtentPoint32W(dc.get(), c.text.c_str(), static_cast<int>(c.text.size()), &text);
    const SIZE room = kind->captionRoom(c.size, tm, m);
    if (text.cx > room.cx || em > room.cy) return false;
  }
  return true;
}

}  // namespace

HFONT CreateSkinFont(const Skin& s, std::wstring_view texts, const std::vector<Caption>& captions) {
  WindowDc screen(nullptr);  // the whole screen
  const int dpi = screen.get() ? ::GetDeviceCaps(screen.get(), LOGPIXELSY) : 96;
  // Where the skin's face is not installed, a face asked for by name would be replaced by one
  // that may hold no Chinese at all: the message face that Windows gives the controls stays,
  // at the skin's size. The message font also carries the user's text size and font
  // smoothing, which the skin's font follows.
  const std::wstring face = base::Utf8ToWide(s.fontFace);
  LOGFONTW message{};
  const bool haveMessageFont = base::MessageFont(message);
  LOGFONTW font{};
  if (haveMessageFont) font = message;
  if (!haveMessageFont || base::FaceInstalled(face)) {
    font.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(font.lfFaceName, face.c_str(), LF_FACESIZE);
  }
  font.lfWidth = 0;
  font.lfWeight = FW_NORMAL;
  // Either face may still lack the window's characters (a skin naming a face without Chinese,
  // an English system whose message face has none): then one that has them.
  base::UseFaceWithGlyphs(font, texts);
  // Grown with the user's text size, but never so far that a caption overflows its control;
  // never below the skin's own size.
  const Metrics m = MetricsAt(dpi);
  font.lfHeight =
      -FittedFontHeight(FontHeight(s.fontSize, dpi, haveMessageFont ? message.lfHeight : 0),
                        FontHeight(s.fontSize, dpi, 0), [&](int height) {
                          LOGFONTW sized = font;
                          sized.lfHeight = -height;
                          return CaptionsFit(sized, captions, m);
                        });
  return ::CreateFontIndirectW(&font);
}

}  // namespace skin
