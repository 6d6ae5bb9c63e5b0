#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/Form.h"
#include "platform/Launch.h"
#include "platform/RuntimeError.h"
#include "base/Text.h"
#include "platform/AnsiText.h"
#include "platform/WinSystem.h"

namespace {

using platform::LaunchFolders;
using platform::ResolveLaunchProgram;

TEST(LaunchProgram, ComesFromTheSystemsOwnFoldersNeverTheSearchPath) {
  const LaunchFolders native{L"C:\\Windows", L"C:\\Windows\\system32", false};
  const LaunchFolders wow64{L"C:\\Windows", L"C:\\Windows\\SysWOW64", true};
  struct Case {
    const wchar_t* commandLine;
    const LaunchFolders& folders;
    const wchar_t* program;  // none: refused as a file not found (53)
  } cases[] = {
      {L"explorer.exe", native, L"C:\\Windows\\explorer.exe"},
      {L"explorer.exe", wow64, L"C:\\Windows\\explorer.exe"},
      {L"explorer.exe http://kestrin.example.com/fans", native, L"C:\\Windows\\explorer.exe"},
      // clang-format off
      {L"RUNDLL32.EXE shell32.dll,Control_RunDLL hotplug.dll", native, L"C:\\Windows\\system32\\rundll32.exe"},
      // A 32-bit program on 64-bit Windows reaches the native rundll32 through Sysnative;
      // the redirected system folder would start the 32-bit one.
      {L"RUNDLL32.EXE shell32.dll,Control_RunDLL hotplug.dll", wow64, L"C:\\Windows\\Sysnative\\rundll32.exe"},
      // clang-format on
      {L"notepad.exe", native, nullptr},
      {L".\\explorer.exe", native, nullptr},
      {L"explorer", native, nullptr},
      {L"", native, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << base::WideToUtf8(c.commandLine));
    try {
      EXPECT_EQ(ResolveLaunchProgram(c.commandLine, c.folders), c.program ? c.program : L"?");
    } catch (const platform::RuntimeError& e) {
      EXPECT_EQ(c.program, nullptr) << "refused";
      EXPECT_EQ(e.number(), 53);
    }
  }
}

TEST(ProgramFolder, KeepsTheBackslashOnlyAtADrivesRoot) {
  EXPECT_EQ(platform::FolderOfPath(L"C:\\Tools\\Plindar\\Plindar.exe"), L"C:\\Tools\\Plindar");
  EXPECT_EQ(platform::FolderOfPath(L"E:\\Plindar.exe"), L"E:\\");
  EXPECT_EQ(platform::FolderOfPath(L"\\\\server\\share\\Plindar.exe"), L"\\\\server\\share");
}

TEST(ProgramFolder, IsTheFolderOfTheRunningProgram) {
  platform::WinSystem system;
  wchar_t self[MAX_PATH];
  ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  const std::wstring folder = system.ProgramFolder();
  EXPECT_EQ(std::wstring(self).rfind(folder + L"\\", 0), 0u);
  EXPECT_NE(folder.back(), L'\\');
}

TEST(Manifest, NamesTheArchitectureTheProgramWasBuiltFor) {
  // Windows refuses to start a program whose manifest names another architecture. The tests
  // carry the program's own manifest.
  HRSRC found = ::FindResourceW(nullptr, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
  ASSERT_NE(found, nullptr);
  const std::string manifest(
      static_cast<const char*>(::LockResource(::LoadResource(nullptr, found))),
      ::SizeofResource(nullptr, found));
  const std::string own = manifest.substr(0, manifest.find("<dependency>"));
  EXPECT_NE(own.find(sizeof(void*) == 4 ? "processorArchitecture=\"x86\""
                                        : "processorArchitecture=\"amd64\""),
            std::string::npos)
      << own;
}

TEST(RuntimeErrorText, ReadsLikeAClassicRunTimeError) {
  using platform::ErrorKind;
  using platform::RuntimeError;
  struct Case {
    RuntimeError error;
    const wchar_t* text;
  } cases[] = {
      // clang-format off
      {RuntimeError(ErrorKind::kFileNotFound, L"SkinH_VB6.dll"), L"运行时错误 '53':\r\n\r\n文件未找到: SkinH_VB6.dll"},
      {platform::MissingEntry(L"SkinH_AttachEx", L"SkinH_VB6.dll"), L"运行时错误 '453':\r\n\r\n找不到 DLL 入口点 SkinH_AttachEx 于 SkinH_VB6.dll"},
      {RuntimeError(ErrorKind::kDllLoad, L"winmm.dll"), L"运行时错误 '48':\r\n\r\n加载 DLL 错误: winmm.dll"},
      {RuntimeError(ErrorKind::kClipboard), L"运行时错误 '521':\r\n\r\n不能打开剪贴板"},
      {RuntimeError(ErrorKind::kOutOfMemory), L"运行时错误 '7':\r\n\r\n内存溢出"},
      {RuntimeError(ErrorKind::kInvalidCall), L"运行时错误 '5':\r\n\r\n无效的过程调用或参数"},
      // clang-format on
  };
  for (const Case& c : cases) EXPECT_EQ(platform::RuntimeErrorText(c.error), c.text);
  // Any number reads as itself.
  EXPECT_EQ(platform::RuntimeErrorText(0, L""), L"运行时错误 '0':\r\n\r\n");
  EXPECT_EQ(platform::RuntimeErrorText(-7, L"x"), L"运行时错误 '-7':\r\n\r\nx");
}

TEST(LibraryFailures, BecomeTheProgramsOwnRunTimeErrors) {
  // The standard library's bad index and impossible size, as the shipped program reports them.
  std::wstring text = L"abc";
  std::vector<int> numbers;
  struct Case {
    const char* what;
    std::function<void()> fails;
    int number;
  } cases[] = {
      {"an index out of range", [&] { (void)text.at(5); }, 5},
      {"a size past the largest", [&] { numbers.reserve(numbers.max_size() + 1); }, 7},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    try {
      c.fails();
      ADD_FAILURE() << "did not fail";
    } catch (const platform::RuntimeError& e) {
      EXPECT_EQ(e.number(), c.number);
    } catch (...) {
      ADD_FAILURE() << "failed with the library's own exception";
    }
  }
}

TEST(Text, PassesChineseThroughTheAnsiCodePage) {
  if (::GetACP() != 936) GTEST_SKIP() << "needs the code page 936 (run under zh_CN)";
  EXPECT_EQ(platform::WideToAnsi(L"软件/skinh.she"), "\xC8\xED\xBC\xFE/skinh.she");
  EXPECT_EQ(platform::AnsiToWide("\xC8\xED\xBC\xFE"), L"软件");
  // A character outside the code page is replaced, not dropped.
  EXPECT_EQ(platform::WideToAnsi(L"a\u0E01b"), "a?b");
}

TEST(Text, NeverTurnsACharacterIntoALookAlike) {
  // On an English Windows "Plāndar" must not become the path of a sibling folder "Plandar".
  EXPECT_EQ(platform::WideToAnsi(L"C:\\Pl\u0101ndar/skinh.she", 1252), "C:\\Pl?ndar/skinh.she");
  EXPECT_EQ(platform::WideToAnsi(L"\u0131\u2033\uFF21", 1252), "???");
  EXPECT_EQ(platform::WideToAnsi(L"caf\u00E9", 1252), "caf\xE9") << "what it holds stays";
}

TEST(Text, AsksForNoBestFitWhereTheCodePageTakesFlagsAtAll) {
  // Windows refuses any flag for these code pages, UTF-8 among them (an ANSI code page on
  // Windows 10 and later): with WC_NO_BEST_FIT_CHARS the conversion would come back empty.
  for (unsigned codePage : {65001u, 65000u, 42u, 50220u, 50229u, 52936u, 54936u, 57002u, 57011u})
    EXPECT_EQ(platform::WideToMultiByteFlags(codePage), 0ul) << codePage;
  for (unsigned codePage : {936u, 932u, 1252u, 1250u, 874u, 50219u, 57012u})
    EXPECT_EQ(platform::WideToMultiByteFlags(codePage),
              static_cast<unsigned long>(WC_NO_BEST_FIT_CHARS))
        << codePage;
  EXPECT_EQ(platform::WideToMultiByteFlags(CP_ACP), platform::WideToMultiByteFlags(::GetACP()));
  EXPECT_EQ(platform::WideToAnsi(L"D:\\工具/skinh.she", CP_UTF8),
            "D:\\\xE5\xB7\xA5\xE5\x85\xB7/skinh.she");
}

TEST(Text, PathsTheCodePageCannotHoldGoByTheirShortName) {
  // A program unpacked into a Chinese folder on an English Windows still finds its skin.
  wchar_t temp[MAX_PATH];
  ::GetTempPathW(MAX_PATH, temp);
  const std::wstring folder =
      std::wstring(temp) + L"plindar-工具-" + std::to_wstring(::GetCurrentProcessId());
  ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr) ||
              ::GetLastError() == ERROR_ALREADY_EXISTS);
  wchar_t shortName[MAX_PATH] = L"";
  ASSERT_GT(::GetShortPathNameW(folder.c_str(), shortName, MAX_PATH), 0u);
  const std::string converted = platform::PathToAnsi(folder + L"/skinh.she", 1252);
  EXPECT_EQ(converted, platform::WideToAnsi(shortName, 1252) + "/skinh.she");
  EXPECT_EQ(converted.find('?'), std::string::npos) << converted;
  // What the code page holds goes as it is; with no short name to be had, '?' as before.
  EXPECT_EQ(platform::PathToAnsi(L"C:\\Tools/skinh.she", 1252), "C:\\Tools/skinh.she");
  EXPECT_EQ(platform::PathToAnsi(L"C:\\no-such-工具/skinh.she", 1252),
            "C:\\no-such-?"
            "?/skinh.she");
  ::RemoveDirectoryW(folder.c_str());
}

TEST(Text, LowerCasesLikeThePlatform) {
  EXPECT_EQ(platform::LowerCase(L"RUNDLL32.EXE"), L"rundll32.exe");
  EXPECT_EQ(platform::LowerCase(L"ÄÖÜ软件"), L"äöü软件");
  EXPECT_EQ(platform::LowerCase(L""), L"");
}

}  // namespace
