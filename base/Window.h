#pragma once
// What both shipped files read of a control: its text, a list's line, whether it is a push
// button. The control answers for itself, and may answer anything (another program's subclass,
// say): a read never trusts a length beyond what it can check.
#include <windows.h>

#include <string>

namespace base {

// The window's text, of at most `longest` characters: the length is the window's own word,
// and the read is bounded by the buffer.
std::wstring WindowText(HWND window, int longest = 65'535);

// The line at `index` of a list box; empty where there is none. The list writes the whole line
// whatever the buffer, so the buffer is as long as the list says; a length no memory could
// hold is the allocation's failure, not an overrun.
std::wstring ListLine(HWND list, int index);

// Whether a button of style `style` is a push button (the default one included).
inline bool IsPushButtonStyle(LONG style) {
  const LONG type = style & BS_TYPEMASK;
  return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}

}  // namespace base
