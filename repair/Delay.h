#pragma once
#include <cstdint>

#include "platform/System.h"

namespace repair {

// Waits `ms` milliseconds while serving the window's events, so the window repaints and its
// other controls stay usable. A handler that runs inside the wait runs to its end first; a
// handler that ends the program ends it here. `ms` of 0 or less returns at once, serving
// nothing.
void Delay(platform::System& system, std::int16_t ms);

}  // namespace repair
