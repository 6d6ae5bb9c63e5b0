// The skin library's entry. For now it checks that the skin file can be read and leaves the
// look as Windows draws it; the program relies only on the call being there and never looks
// at its result.
#include <windows.h>

namespace {

enum Result : int {
  kApplied = 0,
  kNoPath = 1,
  kMissing = 2,
  kUnreadable = 3,
};

}  // namespace

extern "C" __declspec(dllexport) int __stdcall SkinH_AttachEx(const char* skinPath,
                                                              const char* /*reserved*/) {
  if (!skinPath || !*skinPath) return kNoPath;
  const DWORD attributes = ::GetFileAttributesA(skinPath);
  if (attributes == INVALID_FILE_ATTRIBUTES) return kMissing;
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return kUnreadable;
  return kApplied;
}

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) ::DisableThreadLibraryCalls(module);
  return TRUE;
}
