#pragma once
// The painters, one per kind of control, each in the file named for it. Each draws the whole
// client area of its control into `dc` in the look.
#include <windows.h>

#include "skin/Look.h"
#include "skin/Metrics.h"
#include "skin/Roles.h"

namespace skin {

void PaintPushButton(HWND window, HDC dc, const Look& look);
void PaintFrame(HWND window, HDC dc, const Look& look);
void PaintOption(HWND window, HDC dc, const Look& look);
void PaintList(HWND window, HDC dc, const Look& look);
void PaintStatus(HWND window, HDC dc, const Look& look);
// A flat one-pixel border in place of the sunken 3-D edge of a list or text box.
void PaintFlatEdge(HWND window, COLORREF border, COLORREF inside);
// The painter of `role`; nothing for a role the library leaves to Windows.
void Paint(HWND window, Role role, HDC dc, const Look& look);

}  // namespace skin
