#pragma once
// Which program file a fixed command line starts. The program launches only the shell and the
// system's rundll32, and always from the folders Windows keeps them in: a file of the same
// name beside the program or in the current folder (a stick full of malware, say) is never
// started in their place.
#include <string>
#include <string_view>

namespace platform {

struct LaunchFolders {
  std::wstring windows;  // GetWindowsDirectory, e.g. C:\Windows
  std::wstring system;   // GetSystemDirectory as this process sees it
  bool wow64 = false;    // a 32-bit process on 64-bit Windows
};

// The full path of the program file that `commandLine` names in its first word. Under WoW64
// the system folder is reached through its Sysnative alias, so that the 64-bit rundll32 and
// its 64-bit control panel applets run rather than the 32-bit copies. Throws RuntimeError 53
// for any other program.
std::wstring ResolveLaunchProgram(std::wstring_view commandLine, const LaunchFolders& folders);

}  // namespace platform
