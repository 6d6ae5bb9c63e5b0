#include <windows.h>

#include "platform/WinSystem.h"
#include "ui/Form1.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // Libraries the program loads by name come from its own folder and the system's, never from
  // the current folder (which may well be the stick being ejected).
  ::SetDllDirectoryW(L"");
  platform::WinSystem system;
  ui::Form1 form(system);
  system.SetMainWindow(form.handle());
  form.Start();
  return form.RunMessageLoop();
}
