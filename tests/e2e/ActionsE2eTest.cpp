// The window's actions on a real system: quick actions, the one-click repair, the closing
// prompt and the site links, driven from outside the running program. These end every
// rundll32.exe and explorer.exe, so they run only in a throwaway Wine prefix.
//
// In that prefix the shell the program starts, the Windows folder's explorer.exe, is replaced
// by a recorder (the sleeper) that logs each start with its command line and show state, and a
// stand-in safe-removal applet sits in the system folders as hotplug.dll.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "Driver.h"
#include "ui/Layout.h"
#include "base/Text.h"
#include "platform/AnsiText.h"
#include "platform/RuntimeError.h"
#include "res/Texts.h"

namespace {

using namespace std::chrono_literals;
using e2e::Plindar;

// What the shell's stand-in logs of a start, minimised: its command line, a tab, its show state.
std::string Started(const wchar_t* commandLine) { return base::WideToUtf8(commandLine) + "\t2\n"; }
const std::string kShellStart = Started(texts::kShellCommandLine);
const std::string kBlogPage = Started(texts::kBlogCommandLine);
const std::string kForumPage = Started(texts::kForumCommandLine);

namespace ctl = ui::ctl;

std::wstring WindowsFolder() {
  wchar_t path[MAX_PATH];
  ::GetSystemWindowsDirectoryW(path, MAX_PATH);
  return path;
}

std::wstring ShellPath() { return WindowsFolder() + L"\\explorer.exe"; }
std::wstring ShellLog() { return ShellPath() + L".log"; }

std::string ReadFile(const std::wstring& path) {
  std::ifstream in(platform::WideToAnsi(path), std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

bool IsWow64() {
  BOOL wow64 = FALSE;
  return ::IsWow64Process(::GetCurrentProcess(), &wow64) && wow64;
}

class Actions : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!e2e::MayEndSystemProcesses()) return;
    e2e::EndAll(L"rundll32.exe");  // a dialog left open holds the applet's file
    const std::wstring bin = e2e::TestBinFolder();
    ::MoveFileExW(ShellPath().c_str(), (ShellPath() + L".plindar-original").c_str(),
                  MOVEFILE_REPLACE_EXISTING);
    e2e::CopyFileOrFail(bin + L"\\sleeper.exe", ShellPath());
    wchar_t system[MAX_PATH];
    ::GetSystemDirectoryW(system, MAX_PATH);
    e2e::CopyFileOrFail(bin + L"\\hotplug_applet.dll", std::wstring(system) + L"\\hotplug.dll");
    if (IsWow64() && HaveApplet64())
      e2e::CopyFileOrFail(bin + L"\\hotplug64.dll", WindowsFolder() + L"\\Sysnative\\hotplug.dll");
  }
  // The 64-bit stand-in applet, which a 64-bit Windows needs, is built only where there is a
  // 64-bit C compiler.
  static bool HaveApplet64() {
    return ::GetFileAttributesW((e2e::TestBinFolder() + L"\\hotplug64.dll").c_str()) !=
           INVALID_FILE_ATTRIBUTES;
  }
  static void TearDownTestSuite() {
    if (!e2e::MayEndSystemProcesses()) return;
    e2e::EndAll(L"explorer.exe");
    e2e::EndAll(L"rundll32.exe");
    ::MoveFileExW((ShellPath() + L".plindar-original").c_str(), ShellPath().c_str(),
                  MOVEFILE_REPLACE_EXISTING);
  }

  void SetUp() override {
    if (!e2e::MayEndSystemProcesses())
      GTEST_SKIP() << "ends every rundll32.exe and explorer.exe: runs only in a throwaway Wine "
                      "prefix, or on Windows with PLINDAR_ALLOW_ENDING_SHELL=1";
    if (IsWow64() && !HaveApplet64())
      GTEST_SKIP() << "needs the 64-bit stand-in safe-removal applet: build with a 64-bit "
                      "mingw-w64 C compiler";
    ::DeleteFileW(ShellLog().c_str());
  }

  static std::wstring Status(const Plindar& p) {
    return e2e::StatusPanelText(p.Control(ctl::S1), 1);
  }
  static int LogCount(const Plindar& p) {
    return static_cast<int>(::SendMessageW(p.Control(ctl::List1), LB_GETCOUNT, 0, 0));
  }
  static bool WaitForStatus(const Plindar& p, const std::wstring& text) {
    return e2e::WaitUntil([&] { return Status(p) == text; }, 10s);
  }
  // Finds the program's message box with that text and presses `button` in it.
  static bool Answer(Plindar& p, const std::wstring& text, int button) {
    HWND box = e2e::WaitForWindow(p.process().id(), L"#32770", 10s);
    if (!box) return false;
    EXPECT_EQ(e2e::WindowText(box), texts::kPromptTitle);
    EXPECT_EQ(e2e::MessageBoxText(box), text);
    ::PostMessageW(box, WM_COMMAND, static_cast<WPARAM>(button), 0);
    return e2e::WaitUntil([&] { return !::IsWindow(box); }, 5s);
  }
  static bool StartRepair(Plindar& p) {
    p.Click(ctl::Command4);
    return Answer(p, texts::kRepairQuestion, IDYES);
  }
  // Waits for the stand-in safe-removal dialog to be open, or closed.
  static bool SafeRemovalDialogIs(bool open) {
    return e2e::WaitUntil(
        [&] { return (::FindWindowW(L"HotplugStandIn", nullptr) != nullptr) == open; },
        open ? 20s : 10s);
  }
  // Waits until the shell's stand-in has logged exactly `expected`.
  static testing::AssertionResult ShellLogBecomes(const std::string& expected) {
    if (e2e::WaitUntil([&] { return ReadFile(ShellLog()) == expected; }, 10s))
      return testing::AssertionSuccess();
    return testing::AssertionFailure() << "the shell's stand-in logged: " << ReadFile(ShellLog());
  }
  static bool WaitForLogLines(const Plindar& p, int count, std::chrono::milliseconds timeout) {
    return e2e::WaitUntil([&] { return LogCount(p) >= count; }, timeout);
  }
};

TEST_F(Actions, Command2EndsEveryRundll32WhateverItsCaseAndNoOtherProcess) {
  const std::wstring sleeper = e2e::TestBinFolder() + L"\\sleeper.exe";
  // Different folders: on Windows the two spellings would be one file.
  const std::wstring lower = e2e::FreshFolder(L"lower") + L"\\rundll32.exe";
  const std::wstring upper = e2e::FreshFolder(L"upper") + L"\\RUNDLL32.EXE";
  const std::wstring longer = e2e::FreshFolder(L"longer") + L"\\rundll32.exe.bak";
  for (const std::wstring& copy : {lower, upper, longer}) e2e::CopyFileOrFail(sleeper, copy);
  e2e::Process first(lower), second(upper), survivor(longer);
  ASSERT_TRUE(e2e::WaitUntil([] { return e2e::ProcessesNamed(L"rundll32.exe").size() >= 2; }, 10s));
  Plindar plindar;
  plindar.Click(ctl::Command2);
  EXPECT_TRUE(WaitForStatus(plindar, texts::kStatusProcesses));
  EXPECT_EQ(first.WaitForExit(10s), 0u);
  EXPECT_EQ(second.WaitForExit(10s), 0u);
  EXPECT_TRUE(survivor.Running());
  EXPECT_TRUE(e2e::ProcessesNamed(L"rundll32.exe").empty());
}

TEST_F(Actions, Command3EndsTheShellThenStartsTheSystemsOwnNeverAPlantedOne) {
  // A shell to end, and planted explorer.exe files beside the program and in its current
  // folder, which the restart must not start.
  const std::wstring sleeper = e2e::TestBinFolder() + L"\\sleeper.exe";
  const std::wstring shellFolder = e2e::FreshFolder(L"shell");
  e2e::CopyFileOrFail(sleeper, shellFolder + L"\\explorer.exe");
  e2e::Process shell(shellFolder + L"\\explorer.exe");
  const std::wstring programFolder = e2e::StagedCopy(L"planted");
  const std::wstring currentFolder = e2e::FreshFolder(L"current");
  for (const std::wstring& folder : {programFolder, currentFolder})
    e2e::CopyFileOrFail(sleeper, folder + L"\\explorer.exe");

  Plindar plindar(programFolder, currentFolder);
  HWND command3 = plindar.Control(ctl::Command3);
  plindar.Click(ctl::Command3);
  EXPECT_TRUE(WaitForStatus(plindar, texts::kStatusShellEnded));
  EXPECT_EQ(e2e::WindowText(command3), texts::kCommand3Restart);
  EXPECT_NE(shell.WaitForExit(10s), STILL_ACTIVE);
  EXPECT_TRUE(e2e::ProcessesNamed(L"explorer.exe").empty());

  plindar.Click(ctl::Command3);
  EXPECT_TRUE(WaitForStatus(plindar, texts::kStatusShellRestarted));
  EXPECT_EQ(e2e::WindowText(command3), texts::kCommand3Kill);
  EXPECT_TRUE(ShellLogBecomes(kShellStart));
  EXPECT_EQ(e2e::ProcessesNamed(L"explorer.exe").size(), 1u);
  for (const std::wstring& folder : {programFolder, currentFolder})
    EXPECT_EQ(::GetFileAttributesW((folder + L"\\explorer.exe.log").c_str()),
              INVALID_FILE_ATTRIBUTES)
        << "a planted explorer.exe was started from " << base::WideToUtf8(folder);
  // Nor does the program hold the folder it was started in (the stick, often): while it runs,
  // that folder can go.
  EXPECT_TRUE(::MoveFileW(currentFolder.c_str(), (currentFolder + L"-moved").c_str()))
      << "the program holds the folder it was started in: error " << ::GetLastError();
}

// Hours, minutes and seconds of a log line "[ H:MM:SS ]...", as seconds of the day.
int SecondsOf(const std::wstring& line) {
  int h = 0, m = 0, s = 0;
  swscanf(line.c_str(), L"[ %d:%d:%d", &h, &m, &s);
  return h * 3600 + m * 60 + s;
}

TEST_F(Actions, RepairRunsToItsEndAndTheWindowStaysUsableDuringIt) {
  Plindar plindar;
  ASSERT_TRUE(StartRepair(plindar));
  ASSERT_TRUE(WaitForLogLines(plindar, 2, 10s));
  EXPECT_FALSE(::IsWindowEnabled(plindar.Control(ctl::Command4)));
  // A close asked for and cancelled, and in the shell's pause a session end asked about and
  // cancelled: answered yes within the second Windows gives, with no question.
  ::PostMessageW(plindar.window(), WM_CLOSE, 0, 0);
  ASSERT_TRUE(Answer(plindar, texts::kClosingQuestion, IDCANCEL));
  ASSERT_TRUE(WaitForLogLines(plindar, 4, 15s));
  EXPECT_LT(LogCount(plindar), 7);
  DWORD_PTR agreed = FALSE;
  EXPECT_TRUE(
      ::SendMessageTimeoutW(plindar.window(), WM_QUERYENDSESSION, 0, 0, SMTO_BLOCK, 1000, &agreed));
  EXPECT_EQ(agreed, static_cast<DWORD_PTR>(TRUE));
  EXPECT_FALSE(e2e::FindWindowOf(plindar.process().id(), L"#32770")) << "a question";
  ::SendMessageTimeoutW(plindar.window(), WM_ENDSESSION, FALSE, 0, SMTO_BLOCK, 1000, nullptr);

  // Seven lines in about eleven seconds (their exact sequence is the unit tests'), the newest
  // selected, the shell started again, the safe-removal dialog open, the button back on.
  ASSERT_TRUE(WaitForLogLines(plindar, 7, 30s));
  EXPECT_FALSE(e2e::FindWindowOf(plindar.process().id(), L"#32770")) << "a second confirmation";
  HWND list = plindar.Control(ctl::List1);
  EXPECT_NEAR(SecondsOf(e2e::ListItem(list, 6)) - SecondsOf(e2e::ListItem(list, 0)), 11, 2);
  EXPECT_TRUE(e2e::ListItem(list, 6).ends_with(texts::kLogMayRemove));
  EXPECT_EQ(::SendMessageW(list, LB_GETCURSEL, 0, 0), 6);
  EXPECT_TRUE(
      e2e::WaitUntil([&] { return ::IsWindowEnabled(plindar.Control(ctl::Command4)); }, 5s));
  EXPECT_TRUE(SafeRemovalDialogIs(true)) << "the safe-removal dialog did not open";
  DWORD pid = 0;
  ::GetWindowThreadProcessId(::FindWindowW(L"HotplugStandIn", nullptr), &pid);
  const auto rundll = e2e::ProcessesNamed(L"rundll32.exe");
  EXPECT_NE(std::find(rundll.begin(), rundll.end(), pid), rundll.end()) << "not in a rundll32.exe";
  EXPECT_EQ(ReadFile(ShellLog()), kShellStart);
  EXPECT_EQ(LogCount(plindar), 7);
  EXPECT_TRUE(plindar.process().Running());
  plindar.Click(ctl::Command2);  // closes the dialog again
  EXPECT_TRUE(SafeRemovalDialogIs(false));
}

TEST_F(Actions, EndingDuringTheRepairNeverLeavesTheUserWithoutAShell) {
  enum class How { kClosedWithNo, kClosedWithYes, kRuntimeError, kRestartManager, kSessionEnds };
  struct Case {
    const char* what;
    How how;
    int linesBefore;  // 4: in the pause between ending the shell and starting it again
    DWORD exitCode;
    std::string shellLog;
  } cases[] = {
      {"closed with No in the shell's pause", How::kClosedWithNo, 4, 0, kShellStart},
      {"a run-time error in the shell's pause", How::kRuntimeError, 4, 521, kShellStart},
      // clang-format off
      {"closed with Yes in an earlier pause: the fan forum, no shell", How::kClosedWithYes, 2, 0, kForumPage},
      {"closed by the Restart Manager in the shell's pause", How::kRestartManager, 4, 0, kShellStart},
      // clang-format on
      {"the session ends in the shell's pause: nothing is started", How::kSessionEnds, 4, 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ::DeleteFileW(ShellLog().c_str());
    Plindar plindar;
    ASSERT_TRUE(StartRepair(plindar));
    ASSERT_TRUE(WaitForLogLines(plindar, c.linesBefore, 15s));
    switch (c.how) {
      case How::kRuntimeError: {
        // Another program holds the clipboard, so clearing it fails.
        ASSERT_TRUE(::OpenClipboard(nullptr));
        plindar.Click(ctl::Command1);
        HWND box = e2e::WaitForWindow(plindar.process().id(), L"#32770", 10s);
        ::CloseClipboard();
        ASSERT_TRUE(box);
        EXPECT_EQ(
            e2e::MessageBoxText(box),
            platform::RuntimeErrorText(platform::RuntimeError(platform::ErrorKind::kClipboard)));
        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
        break;
      }
      case How::kClosedWithNo:
      case How::kClosedWithYes:
        ::PostMessageW(plindar.window(), WM_CLOSE, 0, 0);
        ASSERT_TRUE(
            Answer(plindar, texts::kClosingQuestion, c.how == How::kClosedWithNo ? IDNO : IDYES));
        break;
      case How::kRestartManager:
      case How::kSessionEnds: {
        // Windows asks first and hears yes at once, with no question; then it says the end is
        // real, for this program alone or for the session.
        const LPARAM why = c.how == How::kRestartManager ? ENDSESSION_CLOSEAPP : 0;
        DWORD_PTR agreed = FALSE;
        EXPECT_TRUE(::SendMessageTimeoutW(plindar.window(), WM_QUERYENDSESSION, 0, why, SMTO_BLOCK,
                                          1000, &agreed));
        EXPECT_EQ(agreed, static_cast<DWORD_PTR>(TRUE));
        EXPECT_FALSE(e2e::FindWindowOf(plindar.process().id(), L"#32770")) << "a question";
        ::SendMessageTimeoutW(plindar.window(), WM_ENDSESSION, TRUE, why, SMTO_BLOCK, 5000,
                              nullptr);
        break;
      }
    }
    EXPECT_EQ(plindar.process().WaitForExit(5s), c.exitCode);
    ::Sleep(3000);  // past the moment the repair would have started the shell itself
    EXPECT_EQ(ReadFile(ShellLog()), c.shellLog) << "started minimised, once, or not at all";
    EXPECT_EQ(plindar.process().WaitForExit(0ms), c.exitCode);
    if (!c.shellLog.empty()) {
      EXPECT_EQ(e2e::ProcessesNamed(L"explorer.exe").size(), 1u);
    }
    e2e::EndAll(L"explorer.exe");
  }
}

}  // namespace

// From here on the keyboard, pressed through the X server as a person presses it.
class Keyboard : public Actions {
 protected:
  void SetUp() override {
    Actions::SetUp();
    if (IsSkipped()) return;
    if (!e2e::PressKeys("shift")) GTEST_SKIP() << "needs xdotool and an X server";
  }
  // The focus after each of `presses`, as places in the tab order. Each press is given up to
  // two seconds to move the focus before the next: a busy machine takes its time.
  static std::vector<int> FocusAfterEach(const Plindar& p, const std::string& key, int presses) {
    std::vector<int> seen;
    for (int i = 0; i < presses; ++i) {
      const int before = p.FocusedControl();
      e2e::PressKeys(key);
      e2e::WaitUntil([&] { return p.FocusedControl() != before; }, 2s);
      seen.push_back(p.FocusedControl());
    }
    return seen;
  }
  static LRESULT Checked(const Plindar& p, int option) {
    return ::SendMessageW(p.Control(option), BM_GETCHECK, 0, 0);
  }
};

TEST_F(Keyboard, TabGoesRoundEveryControlBothWaysAndTheOptionsAreOneStop) {
  Plindar plindar;
  ASSERT_EQ(plindar.FocusedControl(), ctl::Command1);
  // Round from Command1 and back to it: the tab stops after it, then it; and the way back.
  const std::vector<int> stops = e2e::TabStops();
  std::vector<int> forward(stops.begin() + 1, stops.end());
  forward.push_back(ctl::Command1);
  std::vector<int> back(stops.rbegin(), stops.rend() - 1);
  back.push_back(ctl::Command1);
  const int count = static_cast<int>(stops.size());
  EXPECT_EQ(FocusAfterEach(plindar, "Tab", count), forward);
  EXPECT_EQ(FocusAfterEach(plindar, "shift+Tab", count), back);
  // Entering the help text by Tab neither selected it nor scrolled it; Esc in it asks nothing.
  HWND text = plindar.Control(ctl::Text1);
  DWORD start = 0, end = 0;
  ::SendMessageW(text, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, end);
  EXPECT_EQ(::SendMessageW(text, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
  e2e::PressKeys(e2e::TabKeys(ctl::Command1, ctl::Text1));
  ASSERT_EQ(plindar.FocusedControl(), ctl::Text1);
  e2e::PressKeys("Escape");
  EXPECT_FALSE(e2e::WaitForWindow(plindar.process().id(), L"#32770", 1s)) << "Esc asked to close";
  // Moving the focus into the options, at start and after, opened no page.
  EXPECT_EQ(ReadFile(ShellLog()), "");
  EXPECT_EQ(Checked(plindar, ctl::Option1), BST_UNCHECKED);
}

TEST_F(Keyboard, ArrowsChooseAnOptionAndTabReturnsToTheChosenOne) {
  Plindar plindar;
  e2e::PressKeys(e2e::TabKeys(ctl::Command1, ctl::Option1));
  ASSERT_EQ(plindar.FocusedControl(), ctl::Option1);
  e2e::PressKeys("Down");
  EXPECT_EQ(plindar.FocusedControl(), ctl::Option2);
  EXPECT_EQ(Checked(plindar, ctl::Option2), BST_CHECKED);
  EXPECT_TRUE(ShellLogBecomes(kForumPage));
  e2e::PressKeys("Tab shift+Tab");  // away and back: to the chosen option, choosing nothing
  EXPECT_EQ(plindar.FocusedControl(), ctl::Option2);
  e2e::PressKeys("Up");
  EXPECT_TRUE(ShellLogBecomes(kForumPage + kBlogPage));
  // The one chosen last stays chosen, alone.
  EXPECT_EQ(Checked(plindar, ctl::Option1), BST_CHECKED);
  EXPECT_EQ(Checked(plindar, ctl::Option2), BST_UNCHECKED);
}

TEST_F(Keyboard, EnterPressesTheFocusedButtonAndTheFocusOutlivesTheRepairsPause) {
  Plindar plindar;
  e2e::PressKeys(e2e::TabKeys(ctl::Command1, ctl::Command2) + " Return");
  EXPECT_TRUE(WaitForStatus(plindar, texts::kStatusProcesses));

  // Command4: the repair, after its question. Enter held past the key's repeat delay answers
  // nothing by its repeats: the question waits for the user.
  e2e::PressKeys(e2e::TabKeys(ctl::Command2, ctl::Command4));
  e2e::HoldKey("Return", 1500ms);
  EXPECT_EQ(LogCount(plindar), 0);
  ASSERT_TRUE(Answer(plindar, texts::kRepairQuestion, IDYES));
  ASSERT_TRUE(WaitForLogLines(plindar, 1, 10s));
  // Its button is off now; the focus went on to the next control that can take it.
  const std::vector<int> stops = e2e::TabStops();
  const int next = *(std::find(stops.begin(), stops.end(), ctl::Command4) + 1);
  EXPECT_EQ(plindar.FocusedControl(), next);
  e2e::PressKeys(e2e::TabKeys(next, ctl::Command5) + " space");  // pressed during the pause
  EXPECT_TRUE(SafeRemovalDialogIs(true)) << "the safe-removal dialog did not open";
  EXPECT_LT(LogCount(plindar), 7) << "pressed during the repair, not after it";
  plindar.Click(ctl::Command2);  // closes the dialog again
  EXPECT_TRUE(SafeRemovalDialogIs(false));
}
