#include "platform/Launch.h"

#include "platform/RuntimeError.h"
#include "platform/AnsiText.h"
#include "res/Texts.h"

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
  if (name == texts::kExplorer) return Join(folders.windows, texts::kExplorer);
  if (name == texts::kRundll32) {
    if (folders.wow64) return Join(Join(folders.windows, L"Sysnative"), texts::kRundll32);
    return Join(folders.system, texts::kRundll32);
  }
  throw RuntimeError(ErrorKind::kFileNotFound, first);
}

}  // namespace platform
