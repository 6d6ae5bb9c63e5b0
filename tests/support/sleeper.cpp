// Stands in for a process that the program ends or starts. On start it appends one line to
// "<its own path>.log": its command line, a tab, and the show state it was started with, so a
// test can tell that it ran and how. Then it waits, a minute at most, so a failing test leaves
// nothing behind for long.
#include <windows.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  wchar_t self[MAX_PATH];
  const DWORD length = ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  ::GetStartupInfoW(&startup);
  const int show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : -1;
  const std::wstring line =
      std::wstring(::GetCommandLineW()) + L"\t" + std::to_wstring(show) + L"\n";
  char utf8[4096];
  const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()),
                                          utf8, sizeof(utf8), nullptr, nullptr);
  const std::wstring logPath = std::wstring(self, length) + L".log";
  HANDLE log = ::CreateFileW(logPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (log != INVALID_HANDLE_VALUE) {
    DWORD written = 0;
    ::WriteFile(log, utf8, static_cast<DWORD>(bytes), &written, nullptr);
    ::CloseHandle(log);
  }
  ::Sleep(60000);
  return 0;
}
