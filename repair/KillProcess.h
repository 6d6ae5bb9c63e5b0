#pragma once
#include <string>

#include "platform/System.h"

namespace repair {

// Ends every running process whose executable file name equals `name`, ignoring case. Reports
// nothing: a process that cannot be opened or ended is passed over, and so is a system that
// cannot list its processes.
void KillProcess(platform::System& system, const std::wstring& name);

// The name held in a process record: the bytes of the name field up to the first NUL, or the
// whole field when it holds none. Whatever stands after the NUL (the tail of a longer name
// that an earlier record left behind) is no part of it.
std::wstring ProcessName(const platform::ProcessEntry& entry);

}  // namespace repair
