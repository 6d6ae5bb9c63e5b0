// The skin library's entry. It reads a skin file and draws the calling thread's windows in its
// look (Attach.cpp); the painters of each kind of control are in the files named for them.
#include "skin/SkinH_VB6.h"

#include <windows.h>

#include <cstdlib>
#include <new>

#include "base/LeanRuntime.h"
#include "skin/Attach.h"
#include "skin/HighContrast.h"

namespace lean_runtime {

// A standard-library failure inside the library is an exception like any other: the entry
// turns it into its failure code.
void Throw(LibraryError) { throw std::bad_alloc(); }
// Every callback of the library catches what it throws; should an exception still escape, or
// terminate be called, the program that loaded the library ends through its own run-time error
// path where it offers one (Plindar does), else here. The library throws nothing but
// std::bad_alloc (see Throw above) and never calls terminate itself, so its last resort is
// memory running out. (Asking the runtime which exception it was costs the file 2 KB.)
void Terminate() noexcept {
  using EndFn = void (*)(int);
  if (const auto end = reinterpret_cast<EndFn>(reinterpret_cast<void*>(
          ::GetProcAddress(::GetModuleHandleW(nullptr), "PlindarEndWithRuntimeError"))))
    end(1);
  std::abort();
}

}  // namespace lean_runtime

extern "C" __declspec(dllexport) int __stdcall SkinH_AttachEx(const char* skinPath,
                                                              const char* /*reserved*/) {
  // Nothing may escape into the calling program: a failure is a code, never an exception.
  try {
    return skin::AttachSkin(skinPath);
  } catch (...) {
    return kSkinFailed;
  }
}

extern "C" __declspec(dllexport) void __stdcall SkinH_OverrideHighContrast(int state) {
  skin::OverrideHighContrast(state);
}

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) {
    ::DisableThreadLibraryCalls(module);
  } else if (reason == DLL_PROCESS_DETACH && !reserved) {
    // Unloaded while the program runs on: stop drawing before the code goes away.
    skin::StopSkinningNewWindows();
  }
  return TRUE;
}
