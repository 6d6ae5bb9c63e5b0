// The process terminator against real processes: stand-ins copied under the names it ends.
#include "repair/KillProcess.h"

#include <gtest/gtest.h>

#include "Driver.h"
#include "platform/WinSystem.h"

namespace {

using namespace std::chrono_literals;

TEST(KillProcessOnTheSystem, EndsEveryProcessOfTheNameAndNoOther) {
  if (!e2e::MayEndSystemProcesses())
    GTEST_SKIP() << "ends every rundll32.exe: runs only in a throwaway Wine prefix, or on "
                    "Windows with PLINDAR_ALLOW_ENDING_SHELL=1";
  const std::wstring sleeper = e2e::TestBinFolder() + L"\\sleeper.exe";
  // Different folders: on Windows the two spellings would be one file.
  const std::wstring lower = e2e::FreshFolder(L"lower") + L"\\rundll32.exe";
  const std::wstring upper = e2e::FreshFolder(L"upper") + L"\\RUNDLL32.EXE";
  const std::wstring longer = e2e::FreshFolder(L"longer") + L"\\rundll32.exe.bak";
  for (const std::wstring& copy : {lower, upper, longer}) e2e::CopyFileOrFail(sleeper, copy);

  e2e::Process first(lower), second(upper), survivor(longer);
  ASSERT_TRUE(first.Running() && second.Running() && survivor.Running());
  ASSERT_TRUE(e2e::WaitUntil([] { return e2e::ProcessesNamed(L"rundll32.exe").size() >= 2; }, 10s));

  platform::WinSystem system;
  repair::KillProcess(system, L"rundll32.exe");

  EXPECT_EQ(first.WaitForExit(10s), 0u);
  EXPECT_EQ(second.WaitForExit(10s), 0u);
  EXPECT_TRUE(survivor.Running());
  EXPECT_TRUE(e2e::ProcessesNamed(L"rundll32.exe").empty());
}

}  // namespace
