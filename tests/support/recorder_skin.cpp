// A planted library: wherever it is loaded, it leaves "<its own path>.ran" beside itself, so a
// test can tell that a program loaded it. It offers the skin entry, so a program that loads it
// would go on as if it were the real skin library.
#include <windows.h>

extern "C" __declspec(dllexport) int __stdcall SkinH_AttachEx(const char*, const char*) {
  return 0;
}

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    wchar_t path[MAX_PATH + 8];
    const DWORD length = ::GetModuleFileNameW(module, path, MAX_PATH);
    if (length > 0 && length < MAX_PATH) {
      lstrcpyW(path + length, L".ran");
      HANDLE mark = ::CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
      if (mark != INVALID_HANDLE_VALUE) ::CloseHandle(mark);
    }
  }
  return TRUE;
}
