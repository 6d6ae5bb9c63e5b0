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

TEST(StartUp, NamesTheLogAndTheHelpTextForScreenReadersAfterTheirFrames) {
  // Windows names the buttons and options from their captions; the list and the text box have
  // only the frames around them, whose captions Windows does not read as labels.
  fake::FakeSystem system;
  std::wstring list, text;
  {
    ui::Form1 form(system);
    list = std::to_wstring(form.List1.id());
    text = std::to_wstring(form.Text1.id());
    form.Start();
    EXPECT_EQ(system.effects, (std::vector<std::wstring>{
                                  L"@1000000 attach skin",
                                  L"@1000000 name " + list + L" 强力排除过程",
                                  L"@1000000 name " + text + L" 程序相关说明",
                              }));
  }
  // Given back when the window goes.
  ASSERT_EQ(system.effects.size(), 5u);
  EXPECT_EQ(system.effects[3], L"@1000000 forget name " + list);
  EXPECT_EQ(system.effects[4], L"@1000000 forget name " + text);
}

TEST(SetStatus, WritesTheMessagePanelOnly) {
  fake::FakeSystem system;
  ui::Form1 form(system);
  EXPECT_EQ(form.S1.PanelText(2), texts::kPanelLoaded);
  form.SetStatus(L"一");
  form.SetStatus(L"二...");
  EXPECT_EQ(form.S1.PanelText(1), L"状态：");
  EXPECT_EQ(form.S1.PanelText(2), L"二...");
}

TEST(StatusBar, StoresNoTextLongerThanItCanReport) {
  // Any program may set the bar's texts. One past 65,535 characters would report a length of
  // 0 to 65,535 less than it is, and a read sized by it would be overrun.
  fake::FakeSystem system;
  ui::Form1 form(system);
  const std::wstring wide(200'000, L'长');
  const std::string ansi(70'000, 'a');
  struct Case {
    const char* what;
    UINT message;
    WPARAM part;
    LPARAM text;
    size_t length;
  } cases[] = {
      {"WM_SETTEXT of 65,536", WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str() + 134'464),
       65'536},
      {"SB_SETTEXTW of 200,000", SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(wide.c_str()), 200'000},
      {"SB_SETTEXTA of 70,000", SB_SETTEXTA, 2, reinterpret_cast<LPARAM>(ansi.c_str()), 70'000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ::SendMessageW(form.S1.handle(), c.message, c.part, c.text);
    const std::wstring shown = form.S1.PanelText(static_cast<int>(c.part) + 1);
    EXPECT_EQ(shown.size(), 65'535u);
    EXPECT_EQ(shown.front(), c.message == SB_SETTEXTA ? L'a' : L'长');
  }
  form.SetStatus(L"二...");
  EXPECT_EQ(form.S1.PanelText(2), L"二...");
}

TEST(StatusBar, HearsOfNewSystemColoursFromTheWindow) {
  // Common controls learn of them only from their parent.
  fake::FakeSystem system;
  ui::Form1 form(system);
  struct Listener {
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                 DWORD_PTR heard) {
      *reinterpret_cast<int*>(heard) += message == WM_SYSCOLORCHANGE;
      return ::DefSubclassProc(window, message, wParam, lParam);
    }
  };
  int heard = 0;
  ::SetWindowSubclass(form.S1.handle(), Listener::Proc, 1, reinterpret_cast<DWORD_PTR>(&heard));
  ::SendMessageW(form.handle(), WM_SYSCOLORCHANGE, 0, 0);
  EXPECT_EQ(heard, 1);
  ::RemoveWindowSubclass(form.S1.handle(), Listener::Proc, 1);
}

TEST(StatusBar, FixedPanelsAreTheirLaidOutWidthAndTheMessagePanelTakesTheRest) {
  fake::FakeSystem system;
  ui::Form1 form(system);
  auto width = [&](int part) {
    RECT r{};
    ::SendMessageW(form.S1.handle(), SB_GETRECT, part, reinterpret_cast<LPARAM>(&r));
    return static_cast<int>(r.right - r.left);
  };
  const int dpi = platform::SystemDpi();
  EXPECT_EQ(width(0), platform::TwipsToPixels(1440, dpi)) << "the status label";
  EXPECT_EQ(width(2), platform::TwipsToPixels(1440, dpi)) << "the clock";
  EXPECT_GE(width(1), platform::TwipsToPixels(4875, dpi) - 8) << "the message panel";
}

}  // namespace
