#include "platform/DialogKeys.h"

#include <commctrl.h>

#include <utility>

#include "base/Window.h"
#include "platform/RuntimeError.h"

namespace platform {
namespace {

LRESULT CALLBACK TextBoxKeys(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                             DWORD_PTR) {
  return AtMessageBoundary([&]() -> LRESULT {
    const LRESULT result = ::DefSubclassProc(window, message, wParam, lParam);
    if (message == WM_GETDLGCODE)
      return result & ~(DLGC_WANTALLKEYS | DLGC_WANTTAB | DLGC_WANTMESSAGE | DLGC_HASSETSEL);
    return result;
  });
}

bool IsPushButton(HWND window) {
  wchar_t name[16] = L"";
  ::GetClassNameW(window, name, 16);
  return ::lstrcmpiW(name, L"Button") == 0 &&
         base::IsPushButtonStyle(::GetWindowLongW(window, GWL_STYLE));
}

// The push button Enter went down on; it shows pushed until Enter comes up.
HWND g_enterDownOn = nullptr;

// Enter presses the push button that has the focus as Space does: down shows it pushed, and up
// clicks it, if it went down there. A click at once on the key going down would let the key's
// repeat, while it is held, answer whatever the click brings up (the repair's question, whose
// default is Yes). Elsewhere Enter does nothing: the window has no default button.
bool PressedByEnter(HWND dialogWindow, const MSG& message) {
  if (message.wParam != VK_RETURN || !dialogWindow) return false;
  if (message.message == WM_KEYDOWN) {
    if (!::IsChild(dialogWindow, message.hwnd) || !IsPushButton(message.hwnd)) return false;
    const bool repeat = (message.lParam & (1 << 30)) != 0;  // the key was down already
    if (!repeat && ::IsWindowEnabled(message.hwnd)) {
      if (g_enterDownOn && g_enterDownOn != message.hwnd)
        ::SendMessageW(g_enterDownOn, BM_SETSTATE, FALSE, 0);
      g_enterDownOn = message.hwnd;
      ::SendMessageW(message.hwnd, BM_SETSTATE, TRUE, 0);
    }
    return true;
  }
  if (message.message == WM_KEYUP && g_enterDownOn) {
    HWND button = std::exchange(g_enterDownOn, nullptr);
    ::SendMessageW(button, BM_SETSTATE, FALSE, 0);
    if (button == message.hwnd && ::IsWindowEnabled(button)) ::SendMessageW(button, BM_CLICK, 0, 0);
    return true;
  }
  return false;
}

}  // namespace

void DispatchOne(HWND dialogWindow, MSG& message) {
  if (PressedByEnter(dialogWindow, message)) return;
  if (dialogWindow && ::IsDialogMessageW(dialogWindow, &message)) return;
  ::TranslateMessage(&message);
  ::DispatchMessageW(&message);
}

void KeepDialogKeys(HWND textBox) { ::SetWindowSubclass(textBox, TextBoxKeys, 1, 0); }

void MoveFocus(HWND dialogWindow, WPARAM wParam, LPARAM lParam) {
  HWND next = lParam ? reinterpret_cast<HWND>(wParam)
                     : ::GetNextDlgTabItem(dialogWindow, ::GetFocus(), wParam != 0);
  if (next && ::IsChild(dialogWindow, next)) ::SetFocus(next);
}

}  // namespace platform
