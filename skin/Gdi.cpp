#include "skin/Gdi.h"

namespace skin {

void DrawShape(HDC dc, Shape shape, const RECT& r, const COLORREF* fill, COLORREF border,
               int radius, int line) {
  Brush brush(fill ? *fill : 0);
  Pen pen(border, line);
  Select b(dc, fill ? static_cast<HGDIOBJ>(brush.get()) : ::GetStockObject(NULL_BRUSH));
  Select p(dc, pen.get());
  if (shape == Shape::kRounded)
    ::RoundRect(dc, r.left, r.top, r.right, r.bottom, radius, radius);
  else
    ::Ellipse(dc, r.left, r.top, r.right, r.bottom);
}

void RoundedBox(HDC dc, const RECT& r, COLORREF fill, COLORREF border, int radius, int line) {
  DrawShape(dc, Shape::kRounded, r, &fill, border, radius, line);
}

void FrameRectColor(HDC dc, const RECT& r, COLORREF color) {
  Brush brush(color);
  ::FrameRect(dc, &r, brush.get());
}

}  // namespace skin
