// Fails the way the program can fail outside its window procedure: before it has a window (an
// exception that no handler catches), or, given the argument "subclass", inside a subclass
// procedure of a window. Either way the failure must end in the program's run-time error box
// and exit code, not in the C++ runtime's silent abort, and the program's last words (here: a
// mark "<its own path>.last-words") must run first.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "platform/RuntimeError.h"

namespace {

void LeaveMark(void*) noexcept {
  wchar_t path[MAX_PATH + 16];
  const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  lstrcpyW(path + length, L".last-words");
  HANDLE mark =
      ::CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (mark != INVALID_HANDLE_VALUE) ::CloseHandle(mark);
}

LRESULT CALLBACK Failing(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                         DWORD_PTR) {
  return platform::AtMessageBoundary([&]() -> LRESULT {
    if (message == WM_APP) throw platform::RuntimeError(platform::ErrorKind::kInvalidCall);
    return ::DefSubclassProc(window, message, wParam, lParam);
  });
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR arguments, int) {
  platform::SetLastWords(&LeaveMark, nullptr);
  if (std::wstring(arguments) != L"subclass")
    throw platform::RuntimeError(platform::ErrorKind::kOutOfMemory);
  HWND window = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  ::GetModuleHandleW(nullptr), nullptr);
  ::SetWindowSubclass(window, Failing, 1, 0);
  ::SendMessageW(window, WM_APP, 0, 0);
  return 0;
}
