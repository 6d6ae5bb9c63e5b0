// The skin library loaded into a test program the way Plindar loads it, attached to windows
// of the test's own thread.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "base/Handles.h"
#include "base/Text.h"
#include "ThisProgram.h"
#include "skin/SkinH_VB6.h"

namespace {

using AttachFn = int(__stdcall*)(const char*, const char*);

std::string TempFolder() {
  char temp[MAX_PATH];
  ::GetTempPathA(MAX_PATH, temp);
  std::string folder =
      std::string(temp) + "plindar-skin-" + std::to_string(::GetCurrentProcessId());
  ::CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

std::string Write(const std::string& name, const std::string& contents) {
  const std::string path = TempFolder() + "\\" + name;
  std::ofstream(path, std::ios::binary) << contents;
  return path;
}

std::string SkinWith(const char* face) {
  return std::string("[window]\nbackground = #102030\n[button]\nface = ") + face + "\n";
}

// The colours of row `y` of what a window paints when `message` (WM_PRINTCLIENT,
// WM_ERASEBKGND) asks it to paint into a bitmap; of the middle row by default.
std::vector<COLORREF> PaintedRow(HWND window, int y = -1, UINT message = WM_PRINTCLIENT) {
  RECT r;
  ::GetClientRect(window, &r);
  base::WindowDc screen(nullptr);
  base::UniqueMemoryDc dc(::CreateCompatibleDC(screen.get()));
  base::UniqueGdi<HBITMAP> bitmap(::CreateCompatibleBitmap(screen.get(), r.right, r.bottom));
  base::Select selected(dc.get(), bitmap.get());
  ::SendMessageW(window, message, reinterpret_cast<WPARAM>(dc.get()), PRF_CLIENT);
  std::vector<COLORREF> row;
  for (int x = 0; x < r.right; ++x)
    row.push_back(::GetPixel(dc.get(), x, y < 0 ? r.bottom / 2 : y));
  return row;
}

// The colour a window paints `x` pixels inside its left edge (a little inside, by default),
// halfway down.
COLORREF PaintedAtLeftMiddle(HWND window, int x = 4, UINT message = WM_PRINTCLIENT) {
  return PaintedRow(window, -1, message).at(static_cast<size_t>(x));
}

// The colour of the brush a window gives for `message` (WM_CTLCOLORSTATIC, WM_CTLCOLORDLG):
// what its static texts, or a dialog's background, are filled with.
COLORREF BrushGiven(HWND window, UINT message) {
  base::WindowDc screen(nullptr);
  auto brush = reinterpret_cast<HBRUSH>(::SendMessageW(
      window, message, reinterpret_cast<WPARAM>(screen.get()), reinterpret_cast<LPARAM>(window)));
  LOGBRUSH info{};
  return brush && ::GetObjectW(brush, sizeof(info), &info) ? info.lbColor : CLR_INVALID;
}

class SkinLibrary : public testing::Test {
 protected:
  void SetUp() override {
    library_ = ::LoadLibraryW((support::ThisProgramsFolder() + L"\\SkinH_VB6.dll").c_str());
    ASSERT_TRUE(library_);
    attach_ = reinterpret_cast<AttachFn>(
        reinterpret_cast<void*>(::GetProcAddress(library_, "SkinH_AttachEx")));
    ASSERT_TRUE(attach_);

    WNDCLASSW wc{};
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"SkinTestForm";
    ::RegisterClassW(&wc);
    form_ = ::CreateWindowExW(0, wc.lpszClassName, L"skin test", WS_OVERLAPPEDWINDOW, 0, 0, 300,
                              200, nullptr, nullptr, wc.hInstance, nullptr);
    button_ = ::CreateWindowExW(0, L"BUTTON", L"按钮", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10,
                                10, 100, 30, form_, nullptr, wc.hInstance, nullptr);
    option_ = ::CreateWindowExW(0, L"BUTTON", L"选项", WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON,
                                10, 50, 100, 20, form_, nullptr, wc.hInstance, nullptr);
  }
  void TearDown() override {
    if (form_) ::DestroyWindow(form_);
    // The library stays loaded, as it does in the program: its hook serves the thread.
  }

  COLORREF ButtonFace() { return PaintedAtLeftMiddle(button_); }

  HMODULE library_ = nullptr;
  AttachFn attach_ = nullptr;
  HWND form_ = nullptr, button_ = nullptr, option_ = nullptr;
};

TEST_F(SkinLibrary, ReturnsACodeForEveryKindOfBadFileAndNeverThrows) {
  const std::string folder = TempFolder();
  struct Case {
    const char* what;
    std::string path;
    int code;
  } cases[] = {
      {"no path", "", kSkinNoPath},
      {"no such file", folder + "\\missing.she", kSkinMissing},
      {"no such folder", folder + "\\nowhere\\skinh.she", kSkinMissing},
      {"a folder", folder, kSkinUnreadable},
      {"over 64 KiB", Write("large.she", "[window]\n" + std::string(70000, '#')), kSkinTooLarge},
      {"empty", Write("empty.she", ""), kSkinNotASkin},
      {"binary", Write("binary.she", std::string("MZ\x90\0\3\0\0\0", 8)), kSkinNotASkin},
      {"a good file", Write("good.she", SkinWith("#FF0000")), kSkinApplied},
      // Paths with mixed slashes open as Windows opens them.
      {"a slash before the name", folder + "/good.she", kSkinApplied},
      {"a backslash and a slash", folder + "\\/good.she", kSkinApplied},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(attach_(c.path.c_str(), ""), c.code);
  }
  EXPECT_EQ(attach_(nullptr, nullptr), kSkinNoPath);
}

TEST_F(SkinLibrary, ASecondAttachReplacesTheLookWithoutLeaking) {
  const std::string red = Write("red.she", SkinWith("#FF0000"));
  const std::string green = Write("green.she", SkinWith("#00FF00"));
  ASSERT_EQ(attach_(green.c_str(), ""), kSkinApplied);  // the look each round replaces

  // Each attach makes a handful of GDI objects and each paint a few more. Where the system
  // counts a process's GDI objects the count must not move; everywhere, a probe object made
  // after each round comes from the handle table's free slots, which go round a few of the
  // same ones once the first rounds have settled; leaked objects would take them, and push
  // the probe ever higher.
  const DWORD gdiBefore = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
  auto probe = [] {
    HBRUSH brush = ::CreateSolidBrush(RGB(1, 2, 3));
    ::DeleteObject(brush);
    return reinterpret_cast<UINT_PTR>(brush) & 0xFFFF;  // the handle table's slot
  };
  UINT_PTR highest[2] = {0, 0};  // over rounds 200 to 299, and 300 to 399
  for (int i = 0; i < 400; ++i) {
    ASSERT_EQ(attach_(i % 2 ? green.c_str() : red.c_str(), ""), kSkinApplied) << "round " << i;
    ASSERT_EQ(ButtonFace(), i % 2 ? RGB(0, 0xFF, 0) : RGB(0xFF, 0, 0)) << "round " << i;
    if (i >= 200) highest[(i - 200) / 100] = std::max(highest[(i - 200) / 100], probe());
  }
  EXPECT_LE(highest[1], highest[0]) << "GDI objects pile up from round to round";
  EXPECT_EQ(::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS), gdiBefore);

  // A bad file afterwards leaves the look as it was.
  EXPECT_EQ(attach_(Write("bad.she", "garbage").c_str(), ""), kSkinNotASkin);
  EXPECT_EQ(ButtonFace(), RGB(0, 0xFF, 0));
}

TEST_F(SkinLibrary, ControlsKeepTheirPlaceAndTheirBehaviour) {
  RECT before, after;
  ::GetWindowRect(option_, &before);
  ASSERT_EQ(attach_(Write("place.she", SkinWith("#FF0000")).c_str(), ""), kSkinApplied);
  ::GetWindowRect(option_, &after);
  EXPECT_TRUE(::EqualRect(&before, &after));
  ::SendMessageW(option_, BM_CLICK, 0, 0);
  EXPECT_EQ(::SendMessageW(option_, BM_GETCHECK, 0, 0), BST_CHECKED);
  ::SetWindowTextW(button_, L"新的");
  wchar_t text[16];
  ::GetWindowTextW(button_, text, 16);
  EXPECT_STREQ(text, L"新的");
}

TEST_F(SkinLibrary, LaterWindowsAreSkinnedOnlyIfTheyAreTheProgramsOwnKind) {
  ASSERT_EQ(attach_(Write("later.she", SkinWith("#FF0000")).c_str(), ""), kSkinApplied);
  WNDCLASSW foreign{};
  foreign.lpfnWndProc = ::DefWindowProcW;
  foreign.hInstance = ::GetModuleHandleW(nullptr);
  foreign.hbrBackground = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
  foreign.lpszClassName = L"SkinTestForeign";  // an input method's window, say
  ::RegisterClassW(&foreign);
  struct Case {
    const wchar_t* windowClass;
    COLORREF expected;
  } cases[] = {{L"SkinTestForm", RGB(0x10, 0x20, 0x30)}, {L"SkinTestForeign", RGB(255, 255, 255)}};
  for (const Case& c : cases) {
    SCOPED_TRACE(base::WideToUtf8(c.windowClass));
    HWND later = ::CreateWindowExW(0, c.windowClass, L"later", WS_OVERLAPPED, 0, 0, 50, 50, nullptr,
                                   nullptr, ::GetModuleHandleW(nullptr), nullptr);
    EXPECT_EQ(PaintedAtLeftMiddle(later, 2, WM_ERASEBKGND), c.expected) << "its background";
    ::DestroyWindow(later);
  }
}

TEST_F(SkinLibrary, StepsAsideInHighContrastAndComesBackAfter) {
  using OverrideFn = void(__stdcall*)(int);
  auto override = reinterpret_cast<OverrideFn>(
      reinterpret_cast<void*>(::GetProcAddress(library_, "SkinH_OverrideHighContrast")));
  ASSERT_TRUE(override);
  ASSERT_EQ(attach_(Write("contrast.she", SkinWith("#FF0000")).c_str(), ""), kSkinApplied);
  ASSERT_EQ(ButtonFace(), RGB(0xFF, 0, 0));
  auto dialogBrush = [&] { return BrushGiven(form_, WM_CTLCOLORSTATIC); };
  EXPECT_EQ(dialogBrush(), RGB(0x10, 0x20, 0x30));

  // High contrast turns on, and Windows says so: the look steps aside, the user's colours show.
  override(1);
  ::SendMessageW(form_, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
  EXPECT_NE(ButtonFace(), RGB(0xFF, 0, 0));
  EXPECT_NE(dialogBrush(), RGB(0x10, 0x20, 0x30));
  // A skin attached meanwhile stays aside too.
  ASSERT_EQ(attach_(Write("contrast2.she", SkinWith("#00FF00")).c_str(), ""), kSkinApplied);
  EXPECT_NE(ButtonFace(), RGB(0, 0xFF, 0));

  // It turns off again, reported as a change of system colours: the look comes back.
  override(-1);
  ::SendMessageW(form_, WM_SYSCOLORCHANGE, 0, 0);
  EXPECT_EQ(ButtonFace(), RGB(0, 0xFF, 0));
}

// Answers one message for a control with a length no text has.
struct AbsurdLength {
  static LRESULT CALLBACK Answer(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                 DWORD_PTR asked) {
    return message == asked ? 0x7FFFFFF0 : ::DefSubclassProc(window, message, wParam, lParam);
  }
};

TEST_F(SkinLibrary, ControlsThatAnswerNonsenseAreDrawnWithoutTakingTheProgramDown) {
  // A control may answer anything (another program's subclass, say): a text length no
  // memory could hold must not end the program that the library draws.
  HWND list = ::CreateWindowExW(0, L"LISTBOX", L"", WS_CHILD | WS_VISIBLE, 10, 80, 100, 60, form_,
                                nullptr, ::GetModuleHandleW(nullptr), nullptr);
  ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"[ 10:00:00 ]行"));
  HWND bar = ::CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE, 0, 150, 300, 20,
                               form_, nullptr, ::GetModuleHandleW(nullptr), nullptr);
  ::SetWindowSubclass(button_, AbsurdLength::Answer, 1, WM_GETTEXTLENGTH);
  ::SetWindowSubclass(list, AbsurdLength::Answer, 1, LB_GETTEXTLEN);
  const std::string skin = SkinWith("#FF0000") + "[list]\nbackground = #00FF00\n";
  ASSERT_EQ(attach_(Write("absurd.she", skin).c_str(), ""), kSkinApplied);
  ::ShowWindow(form_, SW_SHOW);
  ::UpdateWindow(form_);
  EXPECT_EQ(ButtonFace(), RGB(0xFF, 0, 0)) << "the caption read within bounds";
  // The line cannot be read: Windows draws the list instead, line and all, in the skin's colours.
  RECT line{};
  ::SendMessageW(list, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&line));
  EXPECT_EQ(PaintedAtLeftMiddle(list), RGB(0, 0xFF, 0)) << "its background";
  const std::vector<COLORREF> row = PaintedRow(list, (line.top + line.bottom) / 2);
  EXPECT_NE(std::count(row.begin(), row.end(), RGB(0, 0xFF, 0)), std::ssize(row)) << "its line";
  // And the library keeps no status text longer than the bar can report, for it reads them
  // back to draw them.
  const std::wstring longText(70'000, L'长');
  ::SendMessageW(bar, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(longText.c_str()));
  EXPECT_EQ(LOWORD(::SendMessageW(bar, SB_GETTEXTLENGTHW, 0, 0)), 65'535);
  ::UpdateWindow(form_);
  // Nor does it go through more parts than Windows allows (256) where the bar takes more.
  std::vector<int> rights(100'000);
  for (size_t i = 0; i < rights.size(); ++i) rights[i] = static_cast<int>(i % 290);
  ::SendMessageW(bar, SB_SETPARTS, rights.size(), reinterpret_cast<LPARAM>(rights.data()));
  const DWORD before = ::GetTickCount();
  ::RedrawWindow(bar, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_LT(::GetTickCount() - before, 2000u) << "a paint of every part there is";
  ::ShowWindow(form_, SW_HIDE);
}

// Answers WM_QUERYUISTATE for a control with the state a test sets.
struct UiState {
  static inline LRESULT state = 0;
  static LRESULT CALLBACK Answer(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                 DWORD_PTR) {
    return message == WM_QUERYUISTATE ? state : ::DefSubclassProc(window, message, wParam, lParam);
  }
};

TEST_F(SkinLibrary, ShowsTheFocusRingAsTheKeyboardCuesSay) {
  ASSERT_EQ(
      attach_(Write("focus.she", "[button]\nborder = #00FF00\nfocus = #0000FF\n").c_str(), ""),
      kSkinApplied);
  ::ShowWindow(form_, SW_SHOW);
  ::SetFocus(button_);
  auto ring = [&] { return PaintedAtLeftMiddle(button_, 0); };  // the outline's colour
  // The button answers what Windows would where the user's setting hides focus cues until the
  // keyboard is used (Wine, whose cues always show, never does).
  ::SetWindowSubclass(button_, UiState::Answer, 1, 0);
  UiState::state = UISF_HIDEFOCUS;
  EXPECT_EQ(ring(), RGB(0, 0xFF, 0)) << "focus hidden: the plain border";
  UiState::state = 0;
  EXPECT_EQ(ring(), RGB(0, 0, 0xFF)) << "focus shown: the focus ring";
  ::RemoveWindowSubclass(button_, UiState::Answer, 1);
  ::ShowWindow(form_, SW_HIDE);
}

TEST_F(SkinLibrary, UsesItsFaceOnlyWhereInstalledAndElseKeepsTheMessageFace) {
  // A face asked for by name that is not installed would be replaced by one the system picks,
  // which on an English Windows holds no Chinese: the message face, linked to a Chinese font
  // on every system, stays instead.
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  ASSERT_TRUE(::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0));
  auto faceOf = [](HWND control) {
    LOGFONTW font{};
    ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)), sizeof(font),
                 &font);
    return std::wstring(font.lfFaceName);
  };
  // Any installed face other than the message face will do.
  struct Installed {
    std::wstring messageFace, other;
    static int CALLBACK Note(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM self) {
      auto* found = reinterpret_cast<Installed*>(self);
      if (font->lfFaceName[0] == L'@' || found->messageFace == font->lfFaceName) return 1;
      found->other = font->lfFaceName;
      return 0;
    }
  } installed{metrics.lfMessageFont.lfFaceName, L""};
  LOGFONTW all{};
  all.lfCharSet = DEFAULT_CHARSET;
  HDC screen = ::GetDC(nullptr);
  ::EnumFontFamiliesExW(screen, &all, &Installed::Note, reinterpret_cast<LPARAM>(&installed), 0);
  ::ReleaseDC(nullptr, screen);
  ASSERT_FALSE(installed.other.empty());

  struct Case {
    std::wstring face;
    std::wstring expected;
  } cases[] = {
      {installed.other, installed.other},
      {L"No Such Face Plindar", installed.messageFace},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(base::WideToUtf8(c.face));
    const std::string file = Write("face.she", "[font]\nface = " + base::WideToUtf8(c.face) + "\n");
    ASSERT_EQ(attach_(file.c_str(), ""), kSkinApplied);
    EXPECT_EQ(faceOf(button_), c.expected);
  }
}

// Runs inside the message box's own loop: records what the box's background brush is and
// what its button paints, then presses OK.
struct BoxProbe {
  static inline COLORREF background = CLR_INVALID;
  static inline COLORREF buttonFace = CLR_INVALID;
  static BOOL CALLBACK FindBox(HWND w, LPARAM found) {
    wchar_t name[16];
    ::GetClassNameW(w, name, 16);
    if (::lstrcmpW(name, L"#32770") != 0) return TRUE;
    *reinterpret_cast<HWND*>(found) = w;
    return FALSE;
  }
  static void CALLBACK Look(HWND, UINT, UINT_PTR timer, DWORD) {
    ::KillTimer(nullptr, timer);
    HWND box = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), &FindBox, reinterpret_cast<LPARAM>(&box));
    if (!box) return;
    background = BrushGiven(box, WM_CTLCOLORDLG);
    if (HWND ok = ::GetDlgItem(box, IDOK)) buttonFace = PaintedAtLeftMiddle(ok);
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
  }
};

TEST_F(SkinLibrary, MessageBoxesOpenedAfterTheAttachAreSkinned) {
  ASSERT_EQ(
      attach_(
          Write("box.she", "[message]\nbackground = #203040\n[button]\nface = #405060\n").c_str(),
          ""),
      kSkinApplied);
  ::SetTimer(nullptr, 0, 200, &BoxProbe::Look);
  EXPECT_EQ(::MessageBoxW(form_, L"测试", L"skin test", MB_OK), IDOK);
  EXPECT_EQ(BoxProbe::background, RGB(0x20, 0x30, 0x40));
  EXPECT_EQ(BoxProbe::buttonFace, RGB(0x40, 0x50, 0x60));
}

}  // namespace
