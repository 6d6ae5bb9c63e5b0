#pragma once
// Fonts that can show the window's texts. A face that lacks a character shows an empty box in
// its place; Windows' font linking fills such gaps on a Windows installed for it, but not on
// every system (an English Windows without East Asian fonts linked, Wine set up for English), and
// a skin may name a face that holds no Chinese at all.
#include <windows.h>

#include <string_view>

namespace base {

// The message font of the user's settings, as the system's own dialogs use it: in the user's
// language and text size, at the system DPI. False where the system gives none.
bool MessageFont(LOGFONTW& font);

// Whether a face of that name (its own or its localised one) is installed.
bool FaceInstalled(std::wstring_view face);

// Whether the font `font` describes, as Windows gives it, has a glyph for every character of
// `text` (control characters aside).
bool HasGlyphs(const LOGFONTW& font, std::wstring_view text);

// Gives `font` a face that has a glyph for every character of `text`: its own where it has,
// else the first installed face that has: Windows' Chinese interface faces first, then any
// face installed for Chinese, then any face at all. Where none has, `font` stays as it is. The
// size, weight and smoothing stay as they are.
void UseFaceWithGlyphs(LOGFONTW& font, std::wstring_view text);

}  // namespace base
