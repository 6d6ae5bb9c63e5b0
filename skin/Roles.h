#pragma once
// What the library makes of a window: its role (a kind of control of Kinds.h, or a window that
// holds them), and what the painters read of it.
#include <windows.h>

#include <string>

namespace skin {

enum class Role { kNone, kForm, kDialog, kPushButton, kFrame, kOption, kList, kText, kStatus };

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
