#include "repair/KillProcess.h"

#include <gtest/gtest.h>

#include "FakeSystem.h"

namespace {

using Walk = std::vector<std::wstring>;

struct Case {
  const char* what;
  std::vector<fake::Process> processes;
  std::wstring name;
  Walk expected;  // after the snapshot call
  bool snapshotFails = false;
};

Walk Ends(std::initializer_list<int> ids) {
  Walk walk;
  for (int id : ids) {
    const std::wstring n = std::to_wstring(id);
    walk.push_back(L"open " + n + L" access 1 inherit 0");
    walk.push_back(L"terminate " + n + L" code 0");
    walk.push_back(L"close process " + n);
  }
  walk.push_back(L"close snapshot");
  return walk;
}

std::string Field(const std::string& bytes) {
  std::string field(MAX_PATH, 'x');
  field.replace(0, bytes.size(), bytes);
  return field;
}

TEST(KillProcess, EndsExactlyTheProcessesOfThatName) {
  const Walk cannotOpen4 = {L"open 4 access 1 inherit 0", L"open 8 access 1 inherit 0",
                            L"terminate 8 code 0", L"close process 8", L"close snapshot"};
  // clang-format off
  const std::vector<Case> cases = {
      {"every match, in the order listed", {{4, "rundll32.exe"}, {8, "svchost.exe"}, {12, "rundll32.exe"}}, L"rundll32.exe", Ends({4, 12})},
      {"case is ignored on both sides", {{4, "Explorer.EXE"}, {8, "explorer.exe"}}, L"EXPLORER.exe", Ends({4, 8})},
      {"a prefix of the name is not the name", {{4, "explorer.exe"}}, L"explorer", Ends({})},
      {"nor is the name with a trailing blank", {{4, "explorer.exe"}}, L"explorer.exe ", Ends({})},
      {"nor a longer name", {{4, "rundll32.exe.bak"}}, L"rundll32.exe", Ends({})},
      {"no process of that name", {{4, "svchost.exe"}}, L"rundll32.exe", Ends({})},
      {"an empty walk", {}, L"rundll32.exe", Ends({})},
      // A short name written over a longer one leaves the longer one's tail behind its NUL.
      {"the tail behind the NUL is no part of the name", {{4, "rundll32.exe.bak"}, {8, "rundll32.exe"}, {12, "a.exe"}}, L"rundll32.exe", Ends({8})},
      {"a name field without a NUL is read as all 260 bytes and no further", {{4, "", true, std::string(MAX_PATH, 'r')}}, std::wstring(MAX_PATH, L'r'), Ends({4})},
      {"a process that cannot be opened is passed over", {{4, "rundll32.exe", false}, {8, "rundll32.exe"}}, L"rundll32.exe", cannotOpen4},
      {"bytes in the system's code page are compared as text", {{4, "\xC8\xED\xBC\xFE.exe"}}, L"软件.exe", Ends({4})},  // 软件.exe in code page 936
      {"without a snapshot nothing is ended or closed", {{4, "rundll32.exe"}}, L"rundll32.exe", {}, true},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fake::FakeSystem system;
    system.processes = c.processes;
    system.snapshotFails = c.snapshotFails;
    repair::KillProcess(system, c.name);
    Walk expected = {L"snapshot 2 0"};
    expected.insert(expected.end(), c.expected.begin(), c.expected.end());
    EXPECT_EQ(system.Walk(), expected);
    // One record for the whole walk, its size set before the first call: nine fields and a
    // 260-byte name, 296 bytes, or 304 where the heap id is 64 bits wide.
    EXPECT_EQ(system.sizeAtFirst, c.snapshotFails
                                      ? std::vector<DWORD>{}
                                      : std::vector<DWORD>{sizeof(void*) == 4 ? 296u : 304u});
  }
}

TEST(ProcessName, StopsAtTheFirstNulOrTheEndOfTheField) {
  platform::ProcessEntry entry{};
  std::memcpy(entry.szExeFile, Field(std::string("ab\0cd", 5)).data(), MAX_PATH);
  EXPECT_EQ(repair::ProcessName(entry), L"ab");
  std::memset(entry.szExeFile, 'z', MAX_PATH);
  EXPECT_EQ(repair::ProcessName(entry).size(), size_t{MAX_PATH});
}

}  // namespace
