#include <windows.h>

#include "platform/RuntimeError.h"
#include "platform/WinSystem.h"
#include "ui/Form1.h"

// The skin library's last resort, should a failure ever escape it where nothing can catch it:
// the program's own run-time error path, which puts the shell back first, rather than an end
// without a word. Found by name in the program file; other programs that use the library have
// none, and there it ends as it must.
extern "C" __declspec(dllexport) void PlindarEndWithRuntimeError(int outOfMemory) {
  platform::EndWithRuntimeError(platform::RuntimeError(
      outOfMemory ? platform::ErrorKind::kOutOfMemory : platform::ErrorKind::kInvalidCall));
}

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  platform::LeaveStartFolder();
  platform::LoadLibrariesFromSystemFolderOnly();
  platform::WinSystem system;
  ui::Form1 form(system);
  system.SetMainWindow(form.handle());
  form.Start();
  return form.RunMessageLoop();
}
