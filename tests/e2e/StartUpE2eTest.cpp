// Starting the program with its skin library missing or broken, or its skin file missing.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include "Driver.h"
#include "version.h"
#include "ui/Layout.h"
#include "base/Text.h"

namespace {

using namespace std::chrono_literals;

struct Failure {
  const char* what;
  const wchar_t* folderName;
  const wchar_t* library;  // copied in as SkinH_VB6.dll, or none
  DWORD exitCode;
  std::wstring text;
  // Where a planted SkinH_VB6.dll lies instead: the folder the program is started in.
  bool plantedInCurrentFolder = false;
};

TEST(StartUp, WithoutAUsableSkinLibraryShowsARunTimeErrorAndNeverTheWindow) {
  const Failure cases[] = {
      {"no library", L"nolib", nullptr, 53, L"运行时错误 '53':\r\n\r\n文件未找到: SkinH_VB6.dll"},
      {"a library without the entry", L"noentry", L"noentry_skin.dll", 453,
       L"运行时错误 '453':\r\n\r\n找不到 DLL 入口点 SkinH_AttachEx 于 SkinH_VB6.dll"},
      {"a library in the current folder only is never loaded", L"planted", nullptr, 53,
       L"运行时错误 '53':\r\n\r\n文件未找到: SkinH_VB6.dll", true},
  };
  for (const Failure& c : cases) {
    SCOPED_TRACE(c.what);
    const std::wstring folder = e2e::FreshFolder(c.folderName);
    e2e::CopyFileOrFail(e2e::StageFolder() + L"\\Plindar.exe", folder + L"\\Plindar.exe");
    e2e::CopyFileOrFail(e2e::StageFolder() + L"\\skinh.she", folder + L"\\skinh.she");
    ::DeleteFileW((folder + L"\\SkinH_VB6.dll").c_str());
    if (c.library)
      e2e::CopyFileOrFail(e2e::TestBinFolder() + L"\\" + c.library, folder + L"\\SkinH_VB6.dll");
    std::wstring current;
    if (c.plantedInCurrentFolder) {
      current = e2e::FreshFolder(std::wstring(c.folderName) + L"-current");
      e2e::CopyFileOrFail(e2e::TestBinFolder() + L"\\recorder_skin.dll",
                          current + L"\\SkinH_VB6.dll");
    }

    e2e::Process plindar(folder + L"\\Plindar.exe", L"", current);
    HWND box = e2e::WaitForWindow(plindar.id(), L"#32770", 20s);
    ASSERT_TRUE(box);
    EXPECT_EQ(e2e::WindowText(box), L"Plindar");
    EXPECT_EQ(e2e::MessageBoxText(box), c.text);
    EXPECT_FALSE(e2e::FindWindowOf(plindar.id(), L"PlindarForm")) << "the window was shown";
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(plindar.WaitForExit(10s), c.exitCode);
    if (c.plantedInCurrentFolder) {
      EXPECT_EQ(::GetFileAttributesW((current + L"\\SkinH_VB6.dll.ran").c_str()),
                INVALID_FILE_ATTRIBUTES)
          << "the planted library was loaded";
    }
  }
}

TEST(StartUp, FailuresOutsideTheWindowProcedureShowTheRunTimeErrorToo) {
  struct Case {
    const wchar_t* where;  // the helper's argument
    const wchar_t* text;
    DWORD exitCode;
  } cases[] = {
      {L"", L"运行时错误 '7':\r\n\r\n内存溢出", 7},                      // before the window
      {L"subclass", L"运行时错误 '5':\r\n\r\n无效的过程调用或参数", 5},  // in a subclass
  };
  const std::wstring helper = e2e::TestBinFolder() + L"\\uncaught.exe";
  const std::wstring lastWords = helper + L".last-words";
  for (const Case& c : cases) {
    SCOPED_TRACE(base::WideToUtf8(c.where));
    ::DeleteFileW(lastWords.c_str());
    e2e::Process failing(helper, c.where);
    HWND box = e2e::WaitForWindow(failing.id(), L"#32770", 20s);
    ASSERT_TRUE(box);
    EXPECT_EQ(e2e::MessageBoxText(box), c.text);
    EXPECT_NE(::GetFileAttributesW(lastWords.c_str()), INVALID_FILE_ATTRIBUTES)
        << "the last words did not run before the box";
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(failing.WaitForExit(10s), c.exitCode);
  }
}

TEST(StartUp, WithoutAUsableSkinFileWorksAllTheSame) {
  struct Case {
    const char* what;
    const wchar_t* folderName;
    std::string contents;  // of skinh.she; none when empty
  } cases[] = {
      {"no skin file", L"noskinfile", ""},
      {"a garbage skin file", L"garbageskin", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::wstring folder = e2e::StagedCopy(c.folderName);
    const std::wstring skinFile = folder + L"\\skinh.she";
    ::DeleteFileW(skinFile.c_str());
    if (!c.contents.empty()) {
      base::UniqueFile file(::CreateFileW(skinFile.c_str(), GENERIC_WRITE, 0, nullptr,
                                          CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
      DWORD written = 0;
      ::WriteFile(file.get(), c.contents.data(), static_cast<DWORD>(c.contents.size()), &written,
                  nullptr);
    }
    e2e::Plindar plindar(folder);
    ASSERT_TRUE(plindar.window());
    EXPECT_TRUE(::IsWindowVisible(plindar.window()));
    plindar.Click(ui::ctl::Command1);  // clearing the clipboard harms nothing
    EXPECT_TRUE(e2e::WaitUntil(
        [&] {
          return e2e::StatusPanelText(plindar.Control(ui::ctl::S1), 1) ==
                 L"已清空剪贴板,您可尝试卸载U盘...";
        },
        10s));
  }
}

TEST(StartUp, ProgramFileCarriesItsIconAndVersion) {
  const std::wstring exe = e2e::StageFolder() + L"\\Plindar.exe";
  EXPECT_EQ(::ExtractIconExW(exe.c_str(), -1, nullptr, nullptr, 0), 1u);

  DWORD ignored = 0;
  const DWORD size = ::GetFileVersionInfoSizeW(exe.c_str(), &ignored);
  ASSERT_GT(size, 0u);
  std::vector<BYTE> data(size);
  ASSERT_TRUE(::GetFileVersionInfoW(exe.c_str(), 0, size, data.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(::VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  const DWORD version = (PLINDAR_VERSION_MAJOR << 16) | PLINDAR_VERSION_MINOR;  // 1.0.0.0
  EXPECT_EQ(fixed->dwFileVersionMS, version);
  EXPECT_EQ(fixed->dwFileVersionLS, 0u);
  EXPECT_EQ(fixed->dwProductVersionMS, version);
  for (const wchar_t* key : {L"FileVersion", L"ProductVersion"}) {
    wchar_t* value = nullptr;
    const std::wstring path = std::wstring(L"\\StringFileInfo\\080404b0\\") + key;
    ASSERT_TRUE(
        ::VerQueryValueW(data.data(), path.c_str(), reinterpret_cast<void**>(&value), &length));
    EXPECT_STREQ(value, L"" PLINDAR_VERSION_TEXT);  // "1.00"
  }
}

}  // namespace
