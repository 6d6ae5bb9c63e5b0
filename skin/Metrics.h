#pragma once
// The skin's sizes in pixels at a DPI. What is one pixel at 96 DPI is two at 192: lines, the
// focus ring, radii and insets grow with the system DPI as the text does. Plain C++, tested on
// its own.

#include <functional>

namespace skin {

struct Metrics {
  int line;          // outlines and the focus ring
  int buttonRadius;  // a push button's corners
  int frameRadius;   // a frame's corners
  int optionSize;    // an option's ring, across
  int statusInsetX;  // a status panel's outline inside its part
  int statusInsetY;
  int statusRadius;
  int statusTextInset;  // a panel's text inside its outline
  int listTextInset;    // a log line's text from the list's left edge
};

Metrics MetricsAt(int dpi);

// The skin font's character height in pixels: its size in points at the system DPI, grown in
// proportion where the user has made the message font larger than Windows' own 9 points
// ("make text bigger"). `messageFontHeight` is the message font's LOGFONT height.
int FontHeight(int points, int dpi, int messageFontHeight);

// The largest character height from `wanted` down at which `fits` holds (every caption fits
// its control), but not below `smallest`: a size the layout was made for.
int FittedFontHeight(int wanted, int smallest, const std::function<bool(int height)>& fits);

}  // namespace skin
