#include "repair/KillProcess.h"

#include <algorithm>
#include <iterator>
#include <string_view>

#include "platform/AnsiText.h"

namespace repair {

std::wstring ProcessName(const platform::ProcessEntry& entry) {
  const char* field = entry.szExeFile;
  const char* end = std::find(field, field + std::size(entry.szExeFile), '\0');
  return platform::AnsiToWide(std::string_view(field, static_cast<size_t>(end - field)));
}

void KillProcess(platform::System& system, const std::wstring& name) {
  platform::SystemSnapshot snapshot(system, system.CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return;

  const std::wstring wanted = platform::LowerCase(name);
  // One record for the whole walk, its size set once: the walk fills the same record again
  // and again.
  platform::ProcessEntry entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = system.Process32First(snapshot.get(), &entry); more;
       more = system.Process32Next(snapshot.get(), &entry)) {
    if (platform::LowerCase(ProcessName(entry)) != wanted) continue;
    platform::SystemProcess process(
        system, system.OpenProcess(PROCESS_TERMINATE, FALSE, entry.th32ProcessID));
    if (process) system.TerminateProcess(process.get(), 0);
  }
}

}  // namespace repair
