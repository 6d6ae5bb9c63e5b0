// The window as a user first sees it, checked from outside the running program.
#include <windows.h>
#include <commctrl.h>
#include <initguid.h>  // the annotation service's ids, defined here
#include <oleacc.h>
#include <psapi.h>

#include <gtest/gtest.h>

#include <cstdio>

#include "Driver.h"
#include "ui/Layout.h"
#include "base/Text.h"
#include "platform/Form.h"
#include "platform/Layout.h"
#include "res/Texts.h"

namespace {

using e2e::Plindar;
namespace ctl = ui::ctl;

// The class of each kind of control the layout names, in the order of platform::ControlKind:
// a frame, a button, an option, the text box, the list, the status bar.
const wchar_t* const kClassOfKind[] = {L"Button", L"Button",  L"Button",
                                       L"Edit",   L"ListBox", L"msctls_statusbar32"};

// The window's client area and every control, live, stand where the program's own layout
// puts them at `dpi` (its twips are pinned in the unit tests), of their kind, with their text.
void ExpectLaidOut(const Plindar& p, int dpi) {
  RECT client{};
  ::GetClientRect(p.window(), &client);
  EXPECT_EQ(client.right, platform::TwipsToPixels(ui::kForm1.clientWidth, dpi));
  EXPECT_EQ(client.bottom, platform::TwipsToPixels(ui::kForm1.clientHeight, dpi));
  const std::vector<RECT> placed = platform::PlaceControls(ui::kControls, dpi);
  for (const platform::ControlLayout& row : ui::kControls) {
    SCOPED_TRACE(testing::Message() << "control " << row.index << " at " << dpi << " DPI");
    HWND control = p.Control(row.index);
    ASSERT_TRUE(control);
    EXPECT_TRUE(::IsWindowVisible(control));
    EXPECT_EQ(::lstrcmpiW(e2e::ClassOf(control).c_str(), kClassOfKind[static_cast<int>(row.kind)]),
              0)
        << base::WideToUtf8(e2e::ClassOf(control));
    if (row.kind != platform::ControlKind::StatusBar) {
      EXPECT_EQ(e2e::WindowText(control), row.caption ? row.caption : L"");
    }
    const RECT r = e2e::RectInParent(control);
    const RECT& at = placed[static_cast<size_t>(row.index)];
    EXPECT_EQ(r.left, at.left);
    EXPECT_EQ(r.top, at.top);
    EXPECT_EQ(r.right, at.right);
    EXPECT_EQ(r.bottom, at.bottom);
  }
}

class Window : public testing::Test {
 protected:
  static void SetUpTestSuite() { plindar = new Plindar(); }
  static void TearDownTestSuite() {
    delete plindar;
    plindar = nullptr;
  }
  static Plindar* plindar;
};
Plindar* Window::plindar = nullptr;

TEST_F(Window, ComesUpCentredFixedInSizeAtItsLaidOutClientArea) {
  HWND window = plindar->window();
  ASSERT_TRUE(window);
  EXPECT_EQ(e2e::WindowText(window), texts::kFormCaption);

  const LONG style = ::GetWindowLongW(window, GWL_STYLE);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_TRUE(style & WS_CAPTION);

  RECT frame{}, work{};
  ::GetWindowRect(window, &frame);
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_NEAR((frame.left + frame.right) / 2.0, (work.left + work.right) / 2.0, 1.0);
  EXPECT_NEAR((frame.top + frame.bottom) / 2.0, (work.top + work.bottom) / 2.0, 1.0);

  // Dragging an edge or a corner finds no sizing border there.
  const int middleY = (frame.top + frame.bottom) / 2;
  for (POINT at : {POINT{frame.right - 1, middleY}, POINT{frame.left, middleY},
                   POINT{frame.right - 1, frame.bottom - 1}}) {
    const LRESULT hit = ::SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y));
    EXPECT_TRUE(hit < HTSIZEFIRST || hit > HTSIZELAST) << "hit test " << hit;
  }
}

TEST_F(Window, ShowsEveryControlWithItsCaptionWhereTheLayoutPutsIt) {
  ExpectLaidOut(*plindar, platform::SystemDpi());
  // The help text shows from its first line.
  EXPECT_EQ(::SendMessageW(plindar->Control(ctl::Text1), EM_GETFIRSTVISIBLELINE, 0, 0), 0);
  EXPECT_EQ(::SendMessageW(plindar->Control(ctl::List1), LB_GETCOUNT, 0, 0), 0)
      << "the log starts empty";
  for (int option : {ctl::Option1, ctl::Option2})
    EXPECT_EQ(::SendMessageW(plindar->Control(option), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  const LONG listStyle = ::GetWindowLongW(plindar->Control(ctl::List1), GWL_STYLE);
  EXPECT_FALSE(listStyle & (LBS_SORT | LBS_MULTIPLESEL | LBS_EXTENDEDSEL));
  const LONG textStyle = ::GetWindowLongW(plindar->Control(ctl::Text1), GWL_STYLE);
  EXPECT_TRUE((textStyle & ES_READONLY) && (textStyle & ES_MULTILINE) && (textStyle & WS_VSCROLL));
}

TEST_F(Window, StatusBarShowsItsThreePanels) {
  HWND statusBar = plindar->Control(ctl::S1);
  EXPECT_EQ(::SendMessageW(statusBar, SB_GETPARTS, 0, 0), 3);
  EXPECT_EQ(e2e::StatusPanelText(statusBar, 0), texts::kPanelStatus);
  EXPECT_EQ(e2e::StatusPanelText(statusBar, 1), texts::kPanelLoaded);
  // The clock: the current hours and minutes in the user's format (a minute may turn over
  // between the program's reading and ours).
  wchar_t now[64], before[64];
  SYSTEMTIME t;
  ::GetLocalTime(&t);
  ::GetTimeFormatW(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &t, nullptr, now, 64);
  FILETIME f;
  ::SystemTimeToFileTime(&t, &f);
  ULARGE_INTEGER u{{f.dwLowDateTime, f.dwHighDateTime}};
  u.QuadPart -= 60ull * 10'000'000;
  f = {u.LowPart, u.HighPart};
  ::FileTimeToSystemTime(&f, &t);
  ::GetTimeFormatW(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &t, nullptr, before, 64);
  const std::wstring clock = e2e::StatusPanelText(statusBar, 2);
  EXPECT_TRUE(clock == now || clock == before) << base::WideToUtf8(clock);
}

// Whether this system keeps the names a program gives its controls for screen readers (Wine 8
// refuses them: there the log and the help text keep the names Wine gives them).
bool KeepsScreenReaderNames() {
  IAccPropServices* services = nullptr;
  if (FAILED(::CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IAccPropServices, reinterpret_cast<void**>(&services))))
    return false;
  HWND probe = ::CreateWindowExW(0, L"LISTBOX", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 ::GetModuleHandleW(nullptr), nullptr);
  const bool kept = SUCCEEDED(services->SetHwndPropStr(probe, static_cast<DWORD>(OBJID_CLIENT),
                                                       CHILDID_SELF, PROPID_ACC_NAME, L"probe"));
  MSAAPROPID name = PROPID_ACC_NAME;
  services->ClearHwndProps(probe, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, &name, 1);
  ::DestroyWindow(probe);
  services->Release();
  return kept;
}

// The program's private memory, in bytes.
long long PrivateBytes(HANDLE process) {
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof(counters);
  ::GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                         sizeof(counters));
  return static_cast<long long>(counters.PagefileUsage);  // its commit charge: private bytes
}

// A global atom made and taken back at once: where the next free one lies.
ATOM NextFreeAtom() {
  const ATOM atom = ::GlobalAddAtomW(L"plindar-e2e-probe");
  ::GlobalDeleteAtom(atom);
  return atom;
}

TEST_F(Window, EveryControlThatTakesTheFocusHasANameForScreenReaders) {
  ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
  struct Case {
    int control;
    const wchar_t* name;
    bool given;  // by the program, not its caption: none where the system refuses it (Wine 8)
  } cases[] = {
      {ctl::Command1, texts::kCommand1, false},  // a button, from its caption
      {ctl::List1, texts::kFrame3, true},        // the log, after the frame around it
      {ctl::Text1, texts::kFrame4, true},        // the help text, likewise
      {ctl::Option1, texts::kOption1, false},    // an option, from its caption
  };
  const bool kept = KeepsScreenReaderNames();
  for (const Case& c : cases) {
    SCOPED_TRACE(base::WideToUtf8(c.name));
    IAccessible* object = nullptr;
    ASSERT_TRUE(SUCCEEDED(::AccessibleObjectFromWindow(plindar->Control(c.control), OBJID_CLIENT,
                                                       IID_IAccessible,
                                                       reinterpret_cast<void**>(&object))));
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    const bool named = kept || !c.given;
    EXPECT_EQ(object->get_accName(self, &name), named ? S_OK : S_FALSE);
    EXPECT_EQ(std::wstring(name ? name : L""), named ? c.name : L"");
    ::SysFreeString(name);
    object->Release();
  }
  ::CoUninitialize();

  // A screen reader whose request timed out never collects the answer: requests cost the
  // program, and the session's atom table, nothing that stays.
  const ATOM atomBefore = NextFreeAtom();
  const long long memoryBefore = PrivateBytes(plindar->process().handle());
  for (int i = 0; i < 1500; ++i) {
    for (int control : {ctl::List1, ctl::Text1}) {
      ::SendMessageTimeoutW(plindar->Control(control), WM_GETOBJECT, 0, OBJID_CLIENT, SMTO_BLOCK,
                            5000, nullptr);
    }
  }
  EXPECT_LT(NextFreeAtom() - atomBefore, 16) << "global atoms taken";
  EXPECT_LT(PrivateBytes(plindar->process().handle()) - memoryBefore, 512 * 1024)
      << "private bytes grew from " << memoryBefore;
}

TEST_F(Window, Command5LiesOverFrame2AndTakesItsOwnClicks) {
  RECT r{};
  HWND command5 = plindar->Control(ctl::Command5);
  ::GetWindowRect(command5, &r);
  const POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  EXPECT_EQ(::WindowFromPoint(centre), command5);
  // Above Frame2 in the stacking order.
  bool frame2Below = false;
  for (HWND w = ::GetWindow(command5, GW_HWNDNEXT); w; w = ::GetWindow(w, GW_HWNDNEXT))
    frame2Below |= w == plindar->Control(ctl::Frame2);
  EXPECT_TRUE(frame2Below);
}

// Sets the user's DPI (Wine reads it for each new process) and puts the old value back.
class ScopedUserDpi {
 public:
  explicit ScopedUserDpi(DWORD dpi) {
    ::RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0,
                      KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key_, nullptr);
    DWORD size = sizeof(old_);
    had_ = ::RegQueryValueExW(key_, L"LogPixels", nullptr, nullptr, reinterpret_cast<BYTE*>(&old_),
                              &size) == ERROR_SUCCESS;
    ::RegSetValueExW(key_, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi),
                     sizeof(dpi));
  }
  ~ScopedUserDpi() {
    if (had_) {
      ::RegSetValueExW(key_, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&old_),
                       sizeof(old_));
    } else {
      ::RegDeleteValueW(key_, L"LogPixels");
    }
    ::RegCloseKey(key_);
  }

 private:
  HKEY key_ = nullptr;
  DWORD old_ = 96;
  bool had_ = false;
};

TEST(WindowAtHighDpi, IsLaidOutForTheDpiOfANewSession) {
  if (!e2e::MayEndSystemProcesses())
    GTEST_SKIP() << "changes the user's DPI: runs only in a throwaway Wine prefix";
  ScopedUserDpi dpi(144);
  Plindar plindar;
  ASSERT_TRUE(plindar.window());
  ExpectLaidOut(plindar, 144);
}

}  // namespace
