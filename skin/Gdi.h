#pragma once
// What the painters draw with: brushes, pens and an off-screen buffer, on the scoped GDI
// owners of base/Handles.h (every object selected into a DC goes back out, every DC taken is
// given back, every object made is deleted).
#include <windows.h>

#include <utility>

#include "base/Handles.h"

namespace skin {

struct Brush : base::UniqueGdi<HBRUSH> {
  Brush() = default;
  explicit Brush(COLORREF color) : Unique(::CreateSolidBrush(color)), color(color) {}
  COLORREF color = 0;
};

// Drawn inside the shape's rectangle whatever its width, so a wider line at a higher DPI does
// not spill over the control's edge.
struct Pen : base::UniqueGdi<HPEN> {
  explicit Pen(COLORREF color, int width = 1) : Unique(::CreatePen(PS_INSIDEFRAME, width, color)) {}
};

using base::PaintDc;
using base::Select;
using base::WindowDc;

// Draws into a bitmap of the window's size and copies it to the target in one go, so a
// control that is painted in layers does not flicker.
class Buffered {
 public:
  Buffered(HDC target, const RECT& area)
      : target_(target),
        area_(area),
        dc_(::CreateCompatibleDC(target)),
        bitmap_(::CreateCompatibleBitmap(target, area.right - area.left, area.bottom - area.top)),
        select_(dc_.get(), bitmap_.get()) {}
  ~Buffered() {
    ::BitBlt(target_, area_.left, area_.top, area_.right - area_.left, area_.bottom - area_.top,
             dc_.get(), 0, 0, SRCCOPY);
  }
  Buffered(const Buffered&) = delete;
  Buffered& operator=(const Buffered&) = delete;
  HDC get() const { return dc_.get(); }

 private:
  HDC target_;
  RECT area_;
  base::UniqueMemoryDc dc_;
  base::UniqueGdi<HBITMAP> bitmap_;
  Select select_;  // last: deselects the bitmap before it and the DC are deleted
};

enum class Shape { kRounded, kEllipse };

// Outlines a shape in `border`, filled with `fill` or left hollow when there is none.
void DrawShape(HDC dc, Shape shape, const RECT& r, const COLORREF* fill, COLORREF border,
               int radius = 0, int line = 1);
void RoundedBox(HDC dc, const RECT& r, COLORREF fill, COLORREF border, int radius, int line = 1);
void FrameRectColor(HDC dc, const RECT& r, COLORREF color);

}  // namespace skin
