#pragma once
// Names for screen readers. Windows names a control from its caption, or for a list or text
// box from a static label just before it; the program's list and text box have only the frames
// around them, which Windows does not read as labels. AnswerGetObject gives such a control the
// name it is given here, and leaves everything else about it to Windows' own description.
#include <windows.h>

#include <string>

namespace platform {

// Answers WM_GETOBJECT for `control` when it asks for the control's own (client) object:
// Windows' standard object for it, with `name` as its name. Anything else, or any failure,
// falls to the control's own answer (`pass`). oleacc and COM are loaded on the first question
// only: a program that no screen reader looks at never loads them.
LRESULT AnswerGetObject(HWND control, WPARAM wParam, LPARAM lParam, const std::wstring& name,
                        LRESULT(WINAPI* pass)(HWND, UINT, WPARAM, LPARAM));

}  // namespace platform
