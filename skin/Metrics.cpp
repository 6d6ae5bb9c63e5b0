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
  // Lines grow in whole steps, so a line is never blurred across two pixels.
  const int line = std::max(1, dpi / 96);
  return {line,
          Scale(6, dpi),
          Scale(8, dpi),
          Scale(13, dpi) | 1,  // odd, so the dot sits in its middle
          Scale(2, dpi),
          Scale(4, dpi),
          Scale(4, dpi),
          Scale(4, dpi),
          Scale(3, dpi)};
}

int FontHeight(int points, int dpi, int messageFontHeight) {
  if (dpi <= 0) dpi = 96;
  const int height = PointsToPixels(points, dpi);
  const int standard = PointsToPixels(9, dpi);
  const int message = std::abs(messageFontHeight);
  return message > standard ? (height * message + standard / 2) / standard : height;
}

}  // namespace skin
