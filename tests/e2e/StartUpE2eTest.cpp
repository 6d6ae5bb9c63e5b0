// Starting the program with its skin library missing or broken, or its skin file missing.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <cstring>

#include "Driver.h"
#include "version.h"
#include "ui/Layout.h"
#include "base/Text.h"
#include "platform/RuntimeError.h"
#include "res/Texts.h"

namespace {

using namespace std::chrono_literals;

// A run-time error's ending, from the program started without a usable skin library, or from
// a helper that fails outside a window procedure: the box, nothing else, and the error's number
// as the exit code.
struct Failure {
  const char* what;
  const wchar_t* folderName;  // the program in a folder of its own; none: the failing helper
  const wchar_t* library;     // copied in as SkinH_VB6.dll, or none
  platform::RuntimeError error;
  bool plantedInCurrentFolder = false;  // a SkinH_VB6.dll in the folder it is started in
  const wchar_t* helperArgument = L"";  // where the helper fails
  bool sessionEnds = false;  // while the box is up, Windows ends the session instead of an answer
};

TEST(StartUp, ARunTimeErrorShowsItsBoxRunsTheLastWordsAndEndsWithItsNumber) {
  using platform::ErrorKind;
  using platform::RuntimeError;
  const RuntimeError noLibrary(ErrorKind::kFileNotFound, L"SkinH_VB6.dll");
  const Failure cases[] = {
      // clang-format off
      {"no library", L"nolib", nullptr, noLibrary},
      {"a library without the entry", L"noentry", L"noentry_skin.dll", platform::MissingEntry(L"SkinH_AttachEx", L"SkinH_VB6.dll")},
      {"a library in the current folder only is never loaded", L"planted", nullptr, noLibrary, true},
      {"a failure before the window", nullptr, nullptr, RuntimeError(ErrorKind::kOutOfMemory)},
      {"a failure in a subclass", nullptr, nullptr, RuntimeError(ErrorKind::kInvalidCall), false, L"subclass"},
      {"the session ends while the box is up: at once", L"sessionend", nullptr, noLibrary, false, L"", true},
      // clang-format on
  };
  const std::wstring helper = e2e::TestBinFolder() + L"\\uncaught.exe";
  const std::wstring lastWords = helper + L".last-words";
  for (const Failure& c : cases) {
    SCOPED_TRACE(c.what);
    std::wstring program = helper, current;
    ::DeleteFileW(lastWords.c_str());
    if (c.folderName) {
      const std::wstring folder = e2e::FreshFolder(c.folderName);
      program = folder + L"\\Plindar.exe";
      e2e::CopyFileOrFail(e2e::StageFolder() + L"\\Plindar.exe", program);
      e2e::CopyFileOrFail(e2e::StageFolder() + L"\\skinh.she", folder + L"\\skinh.she");
      if (c.library)
        e2e::CopyFileOrFail(e2e::TestBinFolder() + L"\\" + c.library, folder + L"\\SkinH_VB6.dll");
    }
    if (c.plantedInCurrentFolder) {
      current = e2e::FreshFolder(std::wstring(c.folderName) + L"-current");
      e2e::CopyFileOrFail(e2e::TestBinFolder() + L"\\recorder_skin.dll",
                          current + L"\\SkinH_VB6.dll");
    }

    e2e::Process failing(program, c.helperArgument, current);
    HWND box = e2e::WaitForWindow(failing.id(), L"#32770", 20s);
    ASSERT_TRUE(box);
    EXPECT_EQ(e2e::WindowText(box), texts::kErrorBoxTitle);
    EXPECT_EQ(e2e::MessageBoxText(box), platform::RuntimeErrorText(c.error));
    if (c.folderName) {
      EXPECT_FALSE(e2e::FindWindowOf(failing.id(), L"PlindarForm")) << "the window was shown";
    } else {
      EXPECT_NE(::GetFileAttributesW(lastWords.c_str()), INVALID_FILE_ATTRIBUTES)
          << "the last words did not run before the box";
    }
    if (c.sessionEnds) {
      HWND window = e2e::FindWindowOf(failing.id(), L"PlindarForm", false);
      ASSERT_TRUE(window);
      ::SendMessageTimeoutW(window, WM_ENDSESSION, TRUE, ENDSESSION_CLOSEAPP, SMTO_BLOCK, 5000,
                            nullptr);
    } else {
      ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    }
    EXPECT_EQ(failing.WaitForExit(10s), static_cast<DWORD>(c.error.number()));
    if (c.plantedInCurrentFolder) {
      EXPECT_EQ(::GetFileAttributesW((current + L"\\SkinH_VB6.dll.ran").c_str()),
                INVALID_FILE_ATTRIBUTES)
          << "the planted library was loaded";
    }
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
    // A text on the clipboard, which Command1 clears.
    ASSERT_TRUE(::OpenClipboard(nullptr));
    ::EmptyClipboard();
    HGLOBAL text = ::GlobalAlloc(GMEM_MOVEABLE, 8);
    std::memcpy(::GlobalLock(text), L"USB", 8);
    ::GlobalUnlock(text);
    ::SetClipboardData(CF_UNICODETEXT, text);
    ::CloseClipboard();
    plindar.Click(ui::ctl::Command1);
    EXPECT_TRUE(e2e::WaitUntil(
        [&] {
          return e2e::StatusPanelText(plindar.Control(ui::ctl::S1), 1) == texts::kStatusClipboard;
        },
        10s));
    EXPECT_FALSE(::IsClipboardFormatAvailable(CF_UNICODETEXT));
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
