#pragma once
// The window's controls work from the keyboard as in a dialog: Tab and Shift+Tab go round the
// tab stops, the arrows move within the option group, Esc asks nothing, and Enter presses the
// focused push button.
#include <windows.h>

namespace platform {

// Hands one message to the dialog manager (Tab, arrows, Esc among the controls) or to its
// window. Shared by the main loop and by every pump that runs inside a wait.
void DispatchOne(HWND dialogWindow, MSG& message);

// Lets Tab and Esc go from a read-only multi-line text box to the window (such a box wants every
// key, which traps Tab inside it and lets Esc close the window), and keeps the box from
// selecting its whole text, or scrolling, when Tab enters it.
void KeepDialogKeys(HWND textBox);

// What a dialog does when a control, or the dialog manager, asks to move the focus
// (WM_NEXTDLGCTL): to the given control, or to the next or previous tab stop.
void MoveFocus(HWND dialogWindow, WPARAM wParam, LPARAM lParam);

}  // namespace platform
