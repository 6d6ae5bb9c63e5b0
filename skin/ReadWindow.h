#pragma once
// What the library reads of a window: its class, font and text, its frame, its keyboard cues,
// and whether the mouse is over it.
#include <windows.h>

#include <string>

namespace skin {

// Marks a push button or option under the mouse.
inline constexpr wchar_t kHotProperty[] = L"SkinH.Hot";

std::wstring ClassName(HWND window);
HFONT FontOf(HWND window);
std::wstring TextOf(HWND window);
bool HasNonClientArea(HWND window);
// Whether focus indicators show now: always once the keyboard has been used, and from the
// start where the user's setting asks for them (Windows keeps that state per window).
bool FocusCuesShown(HWND window);
bool Hot(HWND window);

}  // namespace skin
