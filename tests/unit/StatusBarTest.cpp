// The status bar: the message panel SetStatus writes, its panels' widths, and what any program
// may send it.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "FakeSystem.h"
#include "res/Texts.h"
#include "ui/Form1.h"

namespace {

// The program's window on a fake system.
class StatusBar : public testing::Test {
 protected:
  fake::FakeSystem system;
  ui::Form1 form{system};
};

TEST_F(StatusBar, SetStatusWritesTheMessagePanelOnly) {
  EXPECT_EQ(form.S1.PanelText(2), texts::kPanelLoaded);
  form.SetStatus(L"一");
  form.SetStatus(L"二...");
  EXPECT_EQ(form.S1.PanelText(1), L"状态：");
  EXPECT_EQ(form.S1.PanelText(2), L"二...");
}

TEST_F(StatusBar, StoresNoTextLongerThanItCanReport) {
  // Any program may set the bar's texts. One past 65,535 characters would report a length of
  // 0 to 65,535 less than it is, and a read sized by it would be overrun.
  const std::wstring wide(200'000, L'长');
  const std::string ansi(70'000, 'a');
  struct Case {
    const char* what;
    UINT message;
    WPARAM part;
    LPARAM text;
  } cases[] = {
      {"WM_SETTEXT of 65,536", WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str() + 134'464)},
      {"SB_SETTEXTW of 200,000", SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(wide.c_str())},
      {"SB_SETTEXTA of 70,000", SB_SETTEXTA, 2, reinterpret_cast<LPARAM>(ansi.c_str())},
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

TEST_F(StatusBar, HearsOfNewSystemColoursFromTheWindow) {
  // Common controls learn of them only from their parent.
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

TEST_F(StatusBar, FixedPanelsAreTheirLaidOutWidthAndTheMessagePanelTakesTheRest) {
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
