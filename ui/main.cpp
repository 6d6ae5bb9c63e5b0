#include <windows.h>

#include "platform/WinSystem.h"
#include "ui/Form1.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  platform::LoadLibrariesFromSystemFolderOnly();
  platform::WinSystem system;
  ui::Form1 form(system);
  system.SetMainWindow(form.handle());
  form.Start();
  return form.RunMessageLoop();
}
