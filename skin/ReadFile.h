#pragma once
// Reading a skin file from its ANSI path.
#include <string>

namespace skin {

// Reads the file at `path` into `contents`: kSkinApplied, or the SkinHResult code that says
// why not (no path, no such file, a folder or an unreadable file, more than 64 KiB).
int ReadSkinFile(const char* path, std::string& contents);

}  // namespace skin
