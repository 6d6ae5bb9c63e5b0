#pragma once
// In high contrast the library steps aside: it paints nothing of its own, and Windows draws
// every control, message boxes included, in the user's system colours. Windows' setting
// decides, unless a test or the user overrode it (OverrideHighContrast).

namespace skin {

// Whether the library stands aside now.
bool SteppingAside();
// Reads Windows' setting, or the override, afresh: at an attach.
void ReadHighContrast();
// Called when Windows says a setting, the system colours or the theme changed: the look comes
// back, or goes, with high contrast, and the thread's windows are drawn again if it did.
void FollowHighContrast();
// Makes the library act as if high contrast were on (1) or off (0), or follow Windows' setting
// again (-1). Takes effect, as a real change does, when Windows next says that a setting or
// the system colours changed.
void OverrideHighContrast(int state);

}  // namespace skin
