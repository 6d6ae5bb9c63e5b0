// Fails before it has a window, the way the program fails when its window or controls cannot
// be created: an exception that no handler catches. Such a failure must still end in the
// program's run-time error box and exit code, not in the C++ runtime's silent abort.
#include <windows.h>

#include "platform/RuntimeError.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  throw platform::RuntimeError(platform::error::kOutOfMemory, L"内存溢出");
}
