// The window's actions on a real system: quick actions, the one-click repair, the closing
// prompt and the site links, driven from outside the running program. These end every
// rundll32.exe and explorer.exe, so they run only in a throwaway Wine prefix.
//
// In that prefix the shell the program starts, the Windows folder's explorer.exe, is replaced
// by a recorder (the sleeper) that logs each start with its command line and show state, and a
// stand-in safe-removal applet sits in the system folders as hotplug.dll.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>

#include "Driver.h"
#include "ui/Layout.h"
#include "base/Text.h"
#include "platform/AnsiText.h"

namespace {

using namespace std::chrono_literals;
using e2e::Plindar;

// The program's questions, written out here again so that a slip in its texts shows.
const wchar_t kRepairQuestion[] =
    L"一键强力修复具有一定的风险性,但确保不会损坏您的计算机系统,是否继续?";
const wchar_t kClosingQuestion[] = L"是否加入Kestrin粉丝吧共同交流网络技术?";

// What the shell's stand-in logs of each start: its command line, a tab, its show state.
const std::string kShellStart = "explorer.exe\t2\n";
const std::string kBlogPage = "explorer.exe http://kestrin.example.com/blog\t2\n";
const std::string kForumPage = "explorer.exe http://kestrin.example.com/fans\t2\n";

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
    EXPECT_EQ(e2e::WindowText(box), L"Kestrin提示");
    EXPECT_EQ(e2e::MessageBoxText(box), text);
    ::PostMessageW(box, WM_COMMAND, static_cast<WPARAM>(button), 0);
    return e2e::WaitUntil([&] { return !::IsWindow(box); }, 5s);
  }
  static bool StartRepair(Plindar& p) {
    p.Click(ctl::Command4);
    return Answer(p, kRepairQuestion, IDYES);
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

TEST_F(Actions, Command1EmptiesTheClipboard) {
  Plindar plindar;
  ASSERT_TRUE(::OpenClipboard(nullptr));
  ::EmptyClipboard();
  HGLOBAL text = ::GlobalAlloc(GMEM_MOVEABLE, 8);
  std::memcpy(::GlobalLock(text), L"USB", 8);
  ::GlobalUnlock(text);
  ::SetClipboardData(CF_UNICODETEXT, text);
  ::CloseClipboard();
  ASSERT_TRUE(::IsClipboardFormatAvailable(CF_UNICODETEXT));

  plindar.Click(ctl::Command1);
  EXPECT_TRUE(WaitForStatus(plindar, L"已清空剪贴板,您可尝试卸载U盘..."));
  EXPECT_FALSE(::IsClipboardFormatAvailable(CF_UNICODETEXT));
}

TEST_F(Actions, Command2EndsEveryRundll32) {
  const std::wstring copy = e2e::FreshFolder(L"rundll") + L"\\rundll32.exe";
  e2e::CopyFileOrFail(e2e::TestBinFolder() + L"\\sleeper.exe", copy);
  e2e::Process first(copy), second(copy);
  Plindar plindar;
  plindar.Click(ctl::Command2);
  EXPECT_TRUE(WaitForStatus(plindar, L"已清除相关进程,您可尝试卸载U盘..."));
  EXPECT_NE(first.WaitForExit(10s), STILL_ACTIVE);
  EXPECT_NE(second.WaitForExit(10s), STILL_ACTIVE);
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
  EXPECT_TRUE(WaitForStatus(plindar, L"已清除Explorer,请点击重启Explorer..."));
  EXPECT_EQ(e2e::WindowText(command3), L"重启Explorer");
  EXPECT_NE(shell.WaitForExit(10s), STILL_ACTIVE);
  EXPECT_TRUE(e2e::ProcessesNamed(L"explorer.exe").empty());

  plindar.Click(ctl::Command3);
  EXPECT_TRUE(WaitForStatus(plindar, L"已重启Explorer,您可尝试卸载U盘..."));
  EXPECT_EQ(e2e::WindowText(command3), L"清除Explorer");
  EXPECT_TRUE(ShellLogBecomes(kShellStart));
  EXPECT_EQ(e2e::ProcessesNamed(L"explorer.exe").size(), 1u);
  for (const std::wstring& folder : {programFolder, currentFolder})
    EXPECT_EQ(::GetFileAttributesW((folder + L"\\explorer.exe.log").c_str()),
              INVALID_FILE_ATTRIBUTES)
        << "a planted explorer.exe was started from " << base::WideToUtf8(folder);
}

TEST_F(Actions, Command5OpensTheSafeRemovalDialogAndCommand2ClosesIt) {
  Plindar plindar;
  const std::wstring before = Status(plindar);
  plindar.Click(ctl::Command5);
  HWND dialog = nullptr;
  ASSERT_TRUE(
      e2e::WaitUntil([&] { return (dialog = ::FindWindowW(L"HotplugStandIn", nullptr)); }, 20s))
      << "the safe-removal dialog did not open";
  DWORD pid = 0;
  ::GetWindowThreadProcessId(dialog, &pid);
  const auto rundll = e2e::ProcessesNamed(L"rundll32.exe");
  EXPECT_NE(std::find(rundll.begin(), rundll.end(), pid), rundll.end()) << "not in a rundll32.exe";
  EXPECT_EQ(Status(plindar), before) << "Command5 reports nothing";

  plindar.Click(ctl::Command2);
  EXPECT_TRUE(e2e::WaitUntil([&] { return !::IsWindow(dialog); }, 10s));
}

// Hours, minutes and seconds of a log line "[ H:MM:SS ]...", as seconds of the day.
int SecondsOf(const std::wstring& line) {
  int h = 0, m = 0, s = 0;
  swscanf(line.c_str(), L"[ %d:%d:%d", &h, &m, &s);
  return h * 3600 + m * 60 + s;
}

TEST_F(Actions, RepairRunsItsWholeSequenceAndTheWindowStaysUsableDuringIt) {
  Plindar plindar;
  ASSERT_TRUE(StartRepair(plindar));
  ASSERT_TRUE(WaitForLogLines(plindar, 2, 10s));
  EXPECT_FALSE(::IsWindowEnabled(plindar.Control(ctl::Command4)));
  // Another program's click on the disabled button, or its command, starts no second run.
  plindar.Click(ctl::Command4);
  ::PostMessageW(plindar.window(), WM_COMMAND,
                 MAKEWPARAM(platform::IdOf(ctl::Command4), BN_CLICKED),
                 reinterpret_cast<LPARAM>(plindar.Control(ctl::Command4)));
  // Nor do texts longer than the status bar can report, set by another program, end it.
  HWND statusBar = plindar.Control(ctl::S1);
  for (size_t length : {65'536u, 200'000u}) {
    const std::wstring text(length, L'长');
    ::SendMessageTimeoutW(statusBar, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                          SMTO_BLOCK, 5000, nullptr);
    e2e::SetStatusPanelText(statusBar, 1, text);
    EXPECT_EQ(e2e::StatusPanelText(statusBar, 0), std::wstring(65'535, L'长'));
    EXPECT_EQ(Status(plindar), std::wstring(65'535, L'长'));
  }

  // A quick action clicked during a pause is served at once, while the repair goes on.
  plindar.Click(ctl::Command1);
  EXPECT_TRUE(e2e::WaitUntil([&] { return Status(plindar) == L"已清空剪贴板,您可尝试卸载U盘..."; },
                             1500ms));
  EXPECT_LT(LogCount(plindar), 7);

  ASSERT_TRUE(WaitForLogLines(plindar, 7, 30s));
  EXPECT_FALSE(e2e::FindWindowOf(plindar.process().id(), L"#32770")) << "a second confirmation";
  HWND list = plindar.Control(ctl::List1);
  const wchar_t* suffixes[] = {
      L" ]正进行一键强力修复...", L" ]已清空剪贴板...", L" ]已清除相关进程...",
      L" ]已清除E,正在重启...",   L" ]已重启E...",      L" ]一键强力修复完毕...",
      L" ]您可以尝试卸载U盘..."};
  std::vector<int> seconds;
  for (int i = 0; i < 7; ++i) {
    const std::wstring line = e2e::ListItem(list, i);
    SCOPED_TRACE(base::WideToUtf8(line));
    EXPECT_EQ(line.rfind(L"[ ", 0), 0u);
    EXPECT_TRUE(line.ends_with(suffixes[i]));
    seconds.push_back(SecondsOf(line));
  }
  const int gaps[] = {2, 2, 3, 2, 2, 0};
  for (int i = 0; i < 6; ++i) EXPECT_NEAR(seconds[i + 1] - seconds[i], gaps[i], 1) << "gap " << i;
  EXPECT_EQ(::SendMessageW(list, LB_GETCURSEL, 0, 0), 6);

  EXPECT_TRUE(
      e2e::WaitUntil([&] { return ::IsWindowEnabled(plindar.Control(ctl::Command4)); }, 5s));
  EXPECT_TRUE(SafeRemovalDialogIs(true)) << "the safe-removal dialog did not open";
  EXPECT_EQ(ReadFile(ShellLog()), kShellStart);
  EXPECT_EQ(LogCount(plindar), 7);
  plindar.Click(ctl::Command2);  // closes the dialog again
  EXPECT_TRUE(SafeRemovalDialogIs(false));
}

TEST_F(Actions, EndingDuringTheRepairNeverLeavesTheUserWithoutAShell) {
  enum class How { kClosedWithNo, kRuntimeError, kRestartManager, kSessionEnds };
  struct Case {
    const char* what;
    How how;
    int linesBefore;  // 4: in the pause between ending the shell and starting it again
    DWORD exitCode;
    std::string shellLog;
  } cases[] = {
      {"closed with No in the shell's pause", How::kClosedWithNo, 4, 0, kShellStart},
      {"a run-time error in the shell's pause", How::kRuntimeError, 4, 521, kShellStart},
      {"closed with No in an earlier pause", How::kClosedWithNo, 2, 0, ""},
      {"closed by the Restart Manager in the shell's pause", How::kRestartManager, 4, 0,
       kShellStart},
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
        EXPECT_EQ(e2e::MessageBoxText(box), L"运行时错误 '521':\r\n\r\n不能打开剪贴板");
        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
        break;
      }
      case How::kClosedWithNo:
        ::PostMessageW(plindar.window(), WM_CLOSE, 0, 0);
        ASSERT_TRUE(Answer(plindar, kClosingQuestion, IDNO));
        break;
      case How::kRestartManager:
      case How::kSessionEnds: {
        // Windows asks first and hears yes at once, with no question; then it says the end is
        // real, for this program alone or for the session.
        const LPARAM why = c.how == How::kRestartManager ? ENDSESSION_CLOSEAPP : 0;
        DWORD_PTR agreed = FALSE;
        EXPECT_TRUE(::SendMessageTimeoutW(plindar.window(), WM_QUERYENDSESSION, 0, why,
                                          SMTO_BLOCK, 1000, &agreed));
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

TEST_F(Actions, AClosingCancelledDuringTheRepairLetsTheRepairFinish) {
  Plindar plindar;
  ASSERT_TRUE(StartRepair(plindar));
  ASSERT_TRUE(WaitForLogLines(plindar, 2, 10s));
  ::PostMessageW(plindar.window(), WM_CLOSE, 0, 0);
  ASSERT_TRUE(Answer(plindar, kClosingQuestion, IDCANCEL));
  // A session end asked about in the shell's pause, and cancelled: answered yes within the
  // second Windows gives, with no question; nothing else happens.
  ASSERT_TRUE(WaitForLogLines(plindar, 4, 15s));
  DWORD_PTR agreed = FALSE;
  EXPECT_TRUE(::SendMessageTimeoutW(plindar.window(), WM_QUERYENDSESSION, 0, 0, SMTO_BLOCK, 1000,
                                    &agreed));
  EXPECT_EQ(agreed, static_cast<DWORD_PTR>(TRUE));
  EXPECT_FALSE(e2e::FindWindowOf(plindar.process().id(), L"#32770")) << "a question";
  ::SendMessageTimeoutW(plindar.window(), WM_ENDSESSION, FALSE, 0, SMTO_BLOCK, 1000, nullptr);
  EXPECT_TRUE(WaitForLogLines(plindar, 7, 30s));
  EXPECT_EQ(ReadFile(ShellLog()), kShellStart);
  EXPECT_TRUE(plindar.process().Running());
  EXPECT_TRUE(SafeRemovalDialogIs(true));
  plindar.Click(ctl::Command2);
  EXPECT_TRUE(SafeRemovalDialogIs(false));
}

TEST_F(Actions, ClosingAnsweredYesOpensTheFanForumAndEnds) {
  Plindar plindar;
  ::PostMessageW(plindar.window(), WM_CLOSE, 0, 0);
  ASSERT_TRUE(Answer(plindar, kClosingQuestion, IDYES));
  EXPECT_EQ(plindar.process().WaitForExit(5s), 0u);
  EXPECT_TRUE(ShellLogBecomes(kForumPage));
}

TEST_F(Actions, SiteOptionsOpenTheirPagesAndTheLastOneStaysSelected) {
  Plindar plindar;
  plindar.Click(ctl::Option1);
  ASSERT_TRUE(ShellLogBecomes(kBlogPage));
  plindar.Click(ctl::Option2);
  EXPECT_TRUE(ShellLogBecomes(kBlogPage + kForumPage));
  EXPECT_EQ(::SendMessageW(plindar.Control(ctl::Option1), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(::SendMessageW(plindar.Control(ctl::Option2), BM_GETCHECK, 0, 0), BST_CHECKED);
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
  // The focus after each of `presses`, as places in the tab order.
  static std::vector<int> FocusAfterEach(const Plindar& p, const std::string& key, int presses) {
    std::vector<int> seen;
    for (int i = 0; i < presses; ++i) {
      e2e::PressKeys(key);
      seen.push_back(p.FocusedControl());
    }
    return seen;
  }
};

TEST_F(Keyboard, TabGoesRoundEveryControlBothWaysAndTheOptionsAreOneStop) {
  Plindar plindar;
  ASSERT_EQ(plindar.FocusedControl(), ctl::Command1);
  // Round from Command1 and back to it: the tab stops after it, then it; and the way back.
  std::vector<int> forward(e2e::kTabStops.begin() + 1, e2e::kTabStops.end());
  forward.push_back(ctl::Command1);
  std::vector<int> back(e2e::kTabStops.rbegin(), e2e::kTabStops.rend() - 1);
  back.push_back(ctl::Command1);
  EXPECT_EQ(FocusAfterEach(plindar, "Tab", 8), forward);
  EXPECT_EQ(FocusAfterEach(plindar, "shift+Tab", 8), back);
  // Entering the help text by Tab neither selected it nor scrolled it; Esc in it asks nothing.
  HWND text = plindar.Control(ctl::Text1);
  DWORD start = 0, end = 0;
  ::SendMessageW(text, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, end);
  EXPECT_EQ(::SendMessageW(text, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
  e2e::PressKeys("shift+Tab shift+Tab");  // from Command1 by way of the options
  ASSERT_EQ(plindar.FocusedControl(), ctl::Text1);
  e2e::PressKeys("Escape");
  EXPECT_FALSE(e2e::WaitForWindow(plindar.process().id(), L"#32770", 1s)) << "Esc asked to close";
  // Moving the focus into the options, at start and after, opened no page.
  EXPECT_EQ(ReadFile(ShellLog()), "");
  EXPECT_EQ(::SendMessageW(plindar.Control(ctl::Option1), BM_GETCHECK, 0, 0), BST_UNCHECKED);
}

TEST_F(Keyboard, ArrowsChooseAnOptionAndTabReturnsToTheChosenOne) {
  Plindar plindar;
  e2e::PressKeys("shift+Tab");
  ASSERT_EQ(plindar.FocusedControl(), ctl::Option1);
  e2e::PressKeys("Down");
  EXPECT_EQ(plindar.FocusedControl(), ctl::Option2);
  EXPECT_EQ(::SendMessageW(plindar.Control(ctl::Option2), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_TRUE(ShellLogBecomes(kForumPage));
  e2e::PressKeys("Tab shift+Tab");  // away and back: to the chosen option, choosing nothing
  EXPECT_EQ(plindar.FocusedControl(), ctl::Option2);
  e2e::PressKeys("Up");
  EXPECT_TRUE(ShellLogBecomes(kForumPage + kBlogPage));
}

TEST_F(Keyboard, EnterPressesTheFocusedButtonAndTheFocusOutlivesTheRepairsPause) {
  Plindar plindar;
  e2e::PressKeys("Tab Return");  // Command2
  EXPECT_TRUE(WaitForStatus(plindar, L"已清除相关进程,您可尝试卸载U盘..."));

  // Command4: the repair, after its question. Enter held past the key's repeat delay answers
  // nothing by its repeats: the question waits for the user.
  e2e::PressKeys("Tab Tab");
  e2e::HoldKey("Return", 1500ms);
  EXPECT_EQ(LogCount(plindar), 0);
  ASSERT_TRUE(Answer(plindar, kRepairQuestion, IDYES));
  ASSERT_TRUE(WaitForLogLines(plindar, 1, 10s));
  // Its button is off now; the focus went on to the next control that can take it.
  EXPECT_EQ(plindar.FocusedControl(), ctl::List1);
  e2e::PressKeys("Tab space");  // Command5, pressed during the pause
  EXPECT_TRUE(SafeRemovalDialogIs(true)) << "the safe-removal dialog did not open";
  EXPECT_LT(LogCount(plindar), 7) << "pressed during the repair, not after it";
  plindar.Click(ctl::Command2);  // closes the dialog again
  EXPECT_TRUE(SafeRemovalDialogIs(false));
}
