#pragma once
// Where the running test or benchmark program lies (the build's bin folder, which holds the
// built program, its skin library and skin file, and beside which the tests install it), and
// what it may do there.
#include <windows.h>

#include <string>

namespace support {

// The folder that holds the running program's file.
inline std::wstring ThisProgramsFolder() {
  std::wstring path(MAX_PATH, L'\0');
  path.resize(::GetModuleFileNameW(nullptr, path.data(), MAX_PATH));
  return path.substr(0, path.find_last_of(L'\\'));
}

// The folder the tests install the program into (build/stage, beside build/bin).
inline std::wstring StageFolder() {
  const std::wstring bin = ThisProgramsFolder();
  return bin.substr(0, bin.find_last_of(L'\\')) + L"\\stage";
}

// True where ending rundll32.exe and explorer.exe harms nobody: a Wine prefix that the test
// command made for this run, or a Windows machine whose owner asked for it.
inline bool MayEndSystemProcesses() {
  char value[8] = "";
  const bool wine =
      ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
  if (wine) return ::GetEnvironmentVariableA("PLINDAR_THROWAWAY_PREFIX", value, 8) > 0;
  return ::GetEnvironmentVariableA("PLINDAR_ALLOW_ENDING_SHELL", value, 8) > 0 && value[0] == '1';
}

}  // namespace support
