#include "skin/Painters.h"

namespace skin {

void PaintFlatEdge(HWND window, COLORREF border, COLORREF inside) {
  if (!(::GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_CLIENTEDGE)) return;
  WindowDc dc(window);
  if (!dc.get()) return;
  RECT r;
  ::GetWindowRect(window, &r);
  ::OffsetRect(&r, -r.left, -r.top);
  FrameRectColor(dc.get(), r, border);
  ::InflateRect(&r, -1, -1);
  FrameRectColor(dc.get(), r, inside);
}

void Paint(HWND window, Role role, HDC dc, const Look& look) {
  switch (role) {
    case Role::kPushButton:
      PaintPushButton(window, dc, look);
      break;
    case Role::kFrame:
      PaintFrame(window, dc, look);
      break;
    case Role::kOption:
      PaintOption(window, dc, look);
      break;
    case Role::kList:
      PaintList(window, dc, look);
      break;
    case Role::kStatus:
      PaintStatus(window, dc, look);
      break;
    default:
      break;
  }
}

}  // namespace skin
