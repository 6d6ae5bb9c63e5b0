#include "skin/Metrics.h"

#include <algorithm>
#include <cstdlib>

namespace skin {
namespace {

// `pixels` at 96 DPI, at `dpi`, rounded to the nearest pixel.
int Scale(int pixels, int dpi) { return (pixels * dpi + 48) / 96; }

// Points at `dpi` in pixels, rounded.
int PointsToPixels(int points, int dpi) { return (points * dpi + 36) / 72; }

}  // namespace

Metrics MetricsAt(int dpi) {
  if (dpi <= 0) dpi = 96;
  Metrics m{};
  // Lines grow in whole steps, so a line is never blurred across two pixels.
  m.line = std::max(1, dpi / 96);
  m.buttonRadius = Scale(6, dpi);
  m.frameRadius = Scale(8, dpi);
  m.optionSize = Scale(13, dpi) | 1;  // odd, so the dot sits in its middle
  m.statusInsetX = Scale(2, dpi);
  m.statusInsetY = Scale(4, dpi);
  m.statusRadius = Scale(4, dpi);
  m.statusTextInset = Scale(4, dpi);
  m.listTextInset = Scale(3, dpi);
  return m;
}

int FontHeight(int points, int dpi, int messageFontHeight) {
  if (dpi <= 0) dpi = 96;
  const int height = PointsToPixels(points, dpi);
  const int standard = PointsToPixels(9, dpi);
  const int message = std::abs(messageFontHeight);
  return message > standard ? (height * message + standard / 2) / standard : height;
}

int FittedFontHeight(int wanted, int smallest, const std::function<bool(int height)>& fits) {
  int height = wanted;
  while (height > smallest && !fits(height)) --height;
  return height;
}

}  // namespace skin
