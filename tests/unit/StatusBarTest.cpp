// The status bar: its panels' widths, and what any program may send it. (What SetStatus writes
// is in the click table of Form1Test.)
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

TEST_F(StatusBar, StoresNoTextLongerThanItCanReport) {
  // Any program may set the bar's texts. One past 65,535 characters would report a length of
  // 0 to 65,535 less than it is, and a read sized by it would be overrun. Every way of setting
  // a text, at the longest length kept whole and past it.
  for (const UINT message : {UINT{WM_SETTEXT}, UINT{SB_SETTEXTW}, UINT{SB_SETTEXTA}}) {
    for (const size_t length : {65'535u, 65'536u, 200'000u}) {
      SCOPED_TRACE(testing::Message() << "message " << message << ", " << length << " long");
      const std::wstring wide(length, L'长');
      const std::string ansi(length, 'a');
      const WPARAM part = message == WM_SETTEXT ? 0 : 1;
      const LPARAM text = message == SB_SETTEXTA ? reinterpret_cast<LPARAM>(ansi.c_str())
                                                 : reinterpret_cast<LPARAM>(wide.c_str());
      ::SendMessageW(form.S1.handle(), message, part, text);
      const std::wstring shown = form.S1.PanelText(static_cast<int>(part) + 1);
      EXPECT_EQ(shown.size(), 65'535u);
      EXPECT_EQ(shown.front(), message == SB_SETTEXTA ? L'a' : L'长');
    }
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
