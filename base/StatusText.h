#pragma once
// The texts of a status bar's parts, read and written within what the bar can report.
//
// SB_GETTEXT takes no buffer size: it writes the whole text, and SB_GETTEXTLENGTH reports that
// text's length in 16 bits. A text of 65,536 characters reads as one of none, and the buffer
// sized for it is overrun by all of them. So no longer text is ever stored (a subclass of the
// bar cuts it as it is set, whoever sets it), and every read sizes its buffer from the length
// the bar reports.
#include <windows.h>

#include <cstddef>
#include <string>

namespace base {

inline constexpr std::size_t kLongestPartText = 0xFFFF;

// For a status bar's subclass procedure: a text set by SB_SETTEXT (either form) or WM_SETTEXT
// that is longer than kLongestPartText is set cut to that length, and the bar's answer is
// returned in `result`. False for any other message, and for a text short enough: pass those
// on as usual.
bool SetPartTextCut(HWND bar, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

// The text of part `part` (from 0); empty for a part the owner draws.
std::wstring PartText(HWND bar, int part);

// How many parts the bar has, as far as anything reads them: Windows takes at most 256, but
// another program may set more where the control does not hold to that (Wine's), and going
// through 100,000 parts on every paint hangs the window.
inline constexpr int kMostParts = 256;
int PartCount(HWND bar);

}  // namespace base
