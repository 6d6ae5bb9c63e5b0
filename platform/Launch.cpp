#include "platform/Launch.h"

#include "platform/RuntimeError.h"
#include "platform/Text.h"

namespace platform {
namespace {

std::wstring Join(const std::wstring& folder, std::wstring_view file) {
  std::wstring path = folder;
  if (!path.empty() && path.back() != L'\\' && path.back() != L'/') path += L'\\';
  path += file;
  return path;
}

}  // namespace

std::wstring ResolveLaunchProgram(std::wstring_view commandLine, const LaunchFolders& folders) {
  const std::wstring_view first = commandLine.substr(0, commandLine.find(L' '));
  const std::wstring name = platform::LowerCase(first);
  if (name == L"explorer.exe") return Join(folders.windows, L"explorer.exe");
  if (name == L"rundll32.exe") {
    if (folders.wow64) return Join(Join(folders.windows, L"Sysnative"), L"rundll32.exe");
    return Join(folders.system, L"rundll32.exe");
  }
  throw RuntimeError(ErrorKind::kFileNotFound, first);
}

}  // namespace platform
