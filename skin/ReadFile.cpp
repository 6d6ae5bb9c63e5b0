#include "skin/ReadFile.h"

#include <windows.h>

#include "base/Handles.h"
#include "skin/SkinFile.h"
#include "skin/SkinH_VB6.h"

namespace skin {

int ReadSkinFile(const char* path, std::string& contents) {
  if (!path || !*path) return kSkinNoPath;
  const DWORD attributes = ::GetFileAttributesA(path);
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = ::GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
                   error == ERROR_INVALID_NAME || error == ERROR_BAD_NETPATH
               ? kSkinMissing
               : kSkinUnreadable;
  }
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return kSkinUnreadable;
  base::UniqueFile owner(::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!owner) return kSkinUnreadable;
  HANDLE file = owner.get();
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file, &size)) return kSkinUnreadable;
  if (size.QuadPart > static_cast<LONGLONG>(kMaxFileBytes)) return kSkinTooLarge;
  contents.resize(static_cast<size_t>(size.QuadPart));
  DWORD read = 0;
  if (!contents.empty() &&
      (!::ReadFile(file, contents.data(), static_cast<DWORD>(contents.size()), &read, nullptr) ||
       read != contents.size()))
    return kSkinUnreadable;
  return kSkinApplied;
}

}  // namespace skin
