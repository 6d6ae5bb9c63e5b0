#include "base/Fonts.h"

#include <string>
#include <vector>

#include "base/Handles.h"

namespace base {
namespace {

// Windows' own faces for a Chinese user interface: Windows 8 and later, Windows 7, and the
// older systems' face.
constexpr const wchar_t* kChineseInterfaceFaces[] = {L"Microsoft YaHei UI", L"Microsoft YaHei",
                                                     L"SimSun"};

struct Candidates {
  std::vector<std::wstring> faces;
  static int CALLBACK Note(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM self) {
    // Nothing may unwind through Windows' enumeration: out of memory, the faces found so far
    // are all there are.
    try {
      // Vertical faces ("@SimSun") turn every character on its side.
      if (font->lfFaceName[0] != L'@')
        reinterpret_cast<Candidates*>(self)->faces.emplace_back(font->lfFaceName);
      return 1;
    } catch (...) {
      return 0;
    }
  }
};

std::vector<std::wstring> InstalledFaces(BYTE charset) {
  Candidates found;
  LOGFONTW query{};
  query.lfCharSet = charset;
  WindowDc screen(nullptr);
  if (screen.get())
    ::EnumFontFamiliesExW(screen.get(), &query, &Candidates::Note, reinterpret_cast<LPARAM>(&found),
                          0);
  return found.faces;
}

int CALLBACK NoteFaceFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;  // one is enough
}

// A face that is installed and has the glyphs: a face that is not would be replaced by
// whatever Windows finds nearest, which this check would not have seen.
bool TryFace(LOGFONTW& font, std::wstring_view face, std::wstring_view text) {
  if (!FaceInstalled(face)) return false;
  LOGFONTW candidate = font;
  candidate.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(candidate.lfFaceName, std::wstring(face).c_str(), LF_FACESIZE);
  if (!HasGlyphs(candidate, text)) return false;
  font = candidate;
  return true;
}

}  // namespace

bool FaceInstalled(std::wstring_view face) {
  if (face.empty() || face.size() >= LF_FACESIZE) return false;
  LOGFONTW query{};
  query.lfCharSet = DEFAULT_CHARSET;
  face.copy(query.lfFaceName, face.size());
  bool found = false;
  WindowDc screen(nullptr);
  if (screen.get())
    ::EnumFontFamiliesExW(screen.get(), &query, NoteFaceFound, reinterpret_cast<LPARAM>(&found), 0);
  return found;
}

bool HasGlyphs(const LOGFONTW& font, std::wstring_view text) {
  std::wstring shown;
  for (wchar_t c : text)
    if (c >= L' ') shown += c;
  if (shown.empty()) return true;
  WindowDc screen(nullptr);
  UniqueMemoryDc dc(::CreateCompatibleDC(screen.get()));
  UniqueGdi<HFONT> made(::CreateFontIndirectW(&font));
  if (!dc || !made) return true;  // nothing to measure with: trust the font
  Select selected(dc.get(), made.get());
  std::vector<WORD> glyphs(shown.size());
  const DWORD mapped = ::GetGlyphIndicesW(dc.get(), shown.c_str(), static_cast<int>(shown.size()),
                                          glyphs.data(), GGI_MARK_NONEXISTING_GLYPHS);
  if (mapped == GDI_ERROR) return true;
  for (WORD glyph : glyphs)
    if (glyph == 0xFFFF) return false;
  return true;
}

void UseFaceWithGlyphs(LOGFONTW& font, std::wstring_view text) {
  if (HasGlyphs(font, text)) return;
  for (const wchar_t* face : kChineseInterfaceFaces)
    if (TryFace(font, face, text)) return;
  for (BYTE charset : {static_cast<BYTE>(GB2312_CHARSET), static_cast<BYTE>(DEFAULT_CHARSET)})
    for (const std::wstring& face : InstalledFaces(charset))
      if (TryFace(font, face, text)) return;
}

bool MessageFont(LOGFONTW& font) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) return false;
  font = metrics.lfMessageFont;
  return true;
}

}  // namespace base
