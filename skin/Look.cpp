#include "skin/Look.h"

#include <string>

#include "skin/Metrics.h"

namespace skin {
namespace {

std::wstring Utf8ToWide(const std::string& utf8) {
  std::wstring wide(utf8.size(), L'\0');
  const int length = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                           wide.data(), static_cast<int>(wide.size()));
  wide.resize(static_cast<size_t>(length > 0 ? length : 0));
  return wide;
}

int CALLBACK NoteFaceFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;  // one is enough
}

bool FaceInstalled(HDC dc, const std::wstring& face) {
  LOGFONTW query{};
  query.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(query.lfFaceName, face.c_str(), LF_FACESIZE);
  bool found = false;
  ::EnumFontFamiliesExW(dc, &query, NoteFaceFound, reinterpret_cast<LPARAM>(&found), 0);
  return found;
}

}  // namespace

HFONT CreateSkinFont(const Skin& s) {
  WindowDc screen(nullptr);  // the whole screen
  const int dpi = screen.get() ? ::GetDeviceCaps(screen.get(), LOGPIXELSY) : 96;
  // Where the skin's face is not installed, a face asked for by name would be replaced by one
  // that may hold no Chinese at all (on an English Windows, every caption turns into boxes).
  // The message face that Windows gives the controls covers Chinese through font linking on
  // any system: keep it, at the skin's size.
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  const std::wstring face = Utf8ToWide(s.fontFace);
  // The message font also carries the user's text size and font smoothing, which the skin's
  // font follows.
  const bool haveMessageFont =
      ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
  LOGFONTW font{};
  if (haveMessageFont) font = metrics.lfMessageFont;
  if (!haveMessageFont || FaceInstalled(screen.get(), face)) {
    font.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(font.lfFaceName, face.c_str(), LF_FACESIZE);
  }
  font.lfHeight =
      -FontHeight(s.fontSize, dpi, haveMessageFont ? metrics.lfMessageFont.lfHeight : 0);
  font.lfWidth = 0;
  font.lfWeight = FW_NORMAL;
  return ::CreateFontIndirectW(&font);
}

}  // namespace skin
