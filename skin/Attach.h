#pragma once
// Attaching a skin: reading the file, making the look, subclassing the thread's windows and
// hooking the creation of later ones. Controls are never replaced, moved or restyled, so every
// message a program sends them behaves as before; only their painting changes.

namespace skin {

// Reads the skin file at `path` and draws the calling thread's windows in its look; returns
// one of the SkinHResult codes.
int AttachSkin(const char* path);
// Makes the library act as if high contrast were on (1) or off (0), or follow Windows' setting
// again (-1). Takes effect, as a real change does, when Windows next says that a setting or
// the system colours changed.
void OverrideHighContrast(int state);
// Stops subclassing windows created from now on, before the library goes away.
void StopDrawing();

}  // namespace skin
