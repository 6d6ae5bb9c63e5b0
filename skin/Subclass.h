#pragma once
// The library's subclass of each window it draws: its painting, and the colours it gives the
// controls that ask their parent for them. Controls are never replaced, moved or restyled, so
// every message a program sends them behaves as before; only their painting changes.
#include <windows.h>

namespace skin {

// Draws `window` (of style `style`, a child of `parent` or a top-level window) in the current
// look from now on, as its role says; leaves a window whose role the library does not draw
// alone. Subclassing again only replaces the roles: a second attach never stacks a second
// subclass.
void Subclass(HWND window, LONG style, HWND parent);

}  // namespace skin
