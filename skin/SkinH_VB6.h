#pragma once
// The skin library's one entry, for programs that link it or load it by name.
//
//   int __stdcall SkinH_AttachEx(const char* skinPath, const char* reserved);
//
// Reads the skin file at `skinPath` (ANSI, zero-terminated) and draws every window of the
// calling thread, and every window that thread creates later, in its look. `reserved` is
// ignored. Returns one of the codes below; on any failure the look stays as it was.

// A second entry serves tests and anyone trying the look:
//
//   void __stdcall SkinH_OverrideHighContrast(int state);
//
// 1 makes the library step aside as in high contrast, 0 keeps the look, -1 follows Windows'
// setting again (the default). It takes effect when Windows next reports a change of settings
// or system colours to the thread's windows.

enum SkinHResult {
  kSkinApplied = 0,
  kSkinNoPath = 1,      // null or empty path
  kSkinMissing = 2,     // no such file
  kSkinUnreadable = 3,  // a folder, or the file could not be read
  kSkinTooLarge = 4,    // larger than 64 KiB
  kSkinNotASkin = 5,    // empty, binary, or without a single section of the format
  kSkinFailed = 6,      // Windows refused the resources the look needs
};
