#pragma once
// Finding another process's windows, as the end-to-end tests and the benchmarks do.
#include <windows.h>

namespace support {

// A top-level window of process `pid`: of `windowClass` (any, where null), visible unless
// `visibleOnly` is false. Null where there is none.
inline HWND TopLevelWindowOf(DWORD pid, const wchar_t* windowClass, bool visibleOnly = true) {
  struct Find {
    DWORD pid;
    const wchar_t* windowClass;
    bool visibleOnly;
    HWND found;
    static BOOL CALLBACK Each(HWND window, LPARAM self) {
      auto* find = reinterpret_cast<Find*>(self);
      DWORD pid = 0;
      ::GetWindowThreadProcessId(window, &pid);
      if (pid != find->pid || (find->visibleOnly && !::IsWindowVisible(window))) return TRUE;
      wchar_t name[256] = L"";
      ::GetClassNameW(window, name, 256);
      if (find->windowClass && ::lstrcmpW(name, find->windowClass) != 0) return TRUE;
      find->found = window;
      return FALSE;
    }
  } find{pid, windowClass, visibleOnly, nullptr};
  ::EnumWindows(&Find::Each, reinterpret_cast<LPARAM>(&find));
  return find.found;
}

}  // namespace support
