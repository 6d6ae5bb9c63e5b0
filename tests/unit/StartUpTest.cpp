#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "FakeSystem.h"
#include "platform/RuntimeError.h"
#include "res/Texts.h"
#include "ui/Form1.h"

namespace {

TEST(StartUp, HandsTheSkinFileBesideTheProgramToTheSkinLibrary) {
  struct Case {
    const char* what;
    std::wstring folder;
    std::string path;  // as the skin library receives it, in code page 936
  } cases[] = {
      {"a folder", L"C:\\Tools\\Plindar", "C:\\Tools\\Plindar/skinh.she"},
      {"a drive's root keeps its backslash", L"E:\\", "E:\\/skinh.she"},
      {"Chinese in the folder name", L"D:\\软件", "D:\\\xC8\xED\xBC\xFE/skinh.she"},
      {"a character the code page cannot hold", L"D:\\\u0E01", "D:\\?/skinh.she"},
  };
  if (::GetACP() != 936) GTEST_SKIP() << "needs the code page 936 (run under zh_CN)";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fake::FakeSystem system;
    system.folder = c.folder;
    ui::Form1 form(system);
    form.Form_Load();
    EXPECT_EQ(system.skinPath, c.path);
    EXPECT_EQ(system.skinReserved, "");
  }
}

TEST(StartUp, TakesAwayTheSizingBorderAndNothingElse) {
  fake::FakeSystem system;
  ui::Form1 form(system);
  const LONG before = ::GetWindowLongW(form.handle(), GWL_STYLE);
  ASSERT_TRUE(before & WS_THICKFRAME);
  form.Form_Load();
  EXPECT_EQ(::GetWindowLongW(form.handle(), GWL_STYLE), before & ~WS_THICKFRAME);
}

TEST(StartUp, FailsBeforeTheWindowIsShownWhenTheSkinLibraryIsMissing) {
  struct NoSkin : fake::FakeSystem {
    void AttachSkin(const std::string&, const std::string&) override {
      throw platform::RuntimeError(platform::ErrorKind::kFileNotFound, L"SkinH_VB6.dll");
    }
  } system;
  ui::Form1 form(system);
  const LONG before = ::GetWindowLongW(form.handle(), GWL_STYLE);
  EXPECT_THROW(form.Form_Load(), platform::RuntimeError);
  // Stopped at the failing step: the border is still there and the window was never shown.
  EXPECT_EQ(::GetWindowLongW(form.handle(), GWL_STYLE), before);
  EXPECT_FALSE(::IsWindowVisible(form.handle()));
}

TEST(StartUp, NamesTheLogAndTheHelpTextForScreenReadersAfterTheirFramesUntilTheEnd) {
  // Windows names the buttons and options from their captions; the list and the text box have
  // only the frames around them, whose captions Windows does not read as labels.
  fake::FakeSystem system;
  ui::Form1 form(system);
  const std::wstring list = std::to_wstring(form.List1.id());
  const std::wstring text = std::to_wstring(form.Text1.id());
  form.Start();
  // Given back on the way out, as the program ends.
  EXPECT_THROW(form.Form_EndSession(platform::kUnloadAppWindows), fake::ProgramEnded);
  EXPECT_EQ(system.Effects(), (std::vector<std::wstring>{
                                  L"@1000000 attach skin",
                                  L"@1000000 name " + list + L" 强力排除过程",
                                  L"@1000000 name " + text + L" 程序相关说明",
                                  L"@1000000 forget name " + list,
                                  L"@1000000 forget name " + text,
                                  L"@1000000 end program",
                              }));
}

}  // namespace
