#pragma once
// Attaching a skin: reading the file, making the look, subclassing the thread's windows
// (Subclass.h) and hooking the creation of later ones.

namespace skin {

struct Look;

// Reads the skin file at `path` and draws the calling thread's windows in its look; returns
// one of the SkinHResult codes.
int AttachSkin(const char* path);
// The look of the last skin attached; none before the first.
const Look* CurrentLook();
// Stops subclassing windows created from now on, before the library goes away.
void StopSkinningNewWindows();

}  // namespace skin
