// Stands in for a process the program ends. Waits (a minute at most, so a test that fails
// leaves nothing behind for long); with a path as its argument it first leaves a marker file
// there, so a test can tell that it was started at all.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
  if (commandLine && *commandLine) {
    HANDLE marker = ::CreateFileA(commandLine, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
    if (marker != INVALID_HANDLE_VALUE) ::CloseHandle(marker);
  }
  ::Sleep(60000);
  return 0;
}
