#pragma once
// The status bar's panels: laid out, written, the clock kept, and no text stored longer than
// the bar can report.
#include <windows.h>

#include <span>

#include "platform/Layout.h"

namespace platform {

// Divides `bar` into the laid-out panels and writes their texts; returns the clock panel's
// index, or -1 where there is none. From then on texts set by anyone are kept within what the
// bar can report.
int SetUpPanels(HWND bar, std::span<const PanelLayout> panels, int dpi);

// Shows the time of day, hours and minutes in the user's format, in panel `clock`, if it
// changed since the last time.
void RefreshClock(HWND bar, int clock);

}  // namespace platform
