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

namespace {

using e2e::Plindar;
namespace ctl = ui::ctl;

// The test program is DPI-aware like the program, so both see the system DPI.
int Pixels(int twips) {
  HDC screen = ::GetDC(nullptr);
  const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
  ::ReleaseDC(nullptr, screen);
  return ::MulDiv(twips, dpi, 1440);
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
  EXPECT_EQ(e2e::WindowText(window), L"Plindar V2.0");

  RECT client{};
  ::GetClientRect(window, &client);
  EXPECT_EQ(client.right, Pixels(7815));
  EXPECT_EQ(client.bottom, Pixels(6870));

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

struct Expected {
  int control;
  const wchar_t* windowClass;
  const wchar_t* caption;
  int container;  // the frame it lies in, or -1 for the window
  int left, top, width, height;
};

// Written out here again, in twips, so that a slip in the program's own table shows.
// clang-format off
const Expected kControls[] = {
    {ctl::Frame1,   L"Button",  L"逐一问题解决",  -1,          120,  240,  5175, 1215},
    {ctl::Command1, L"Button",  L"清空剪贴板",    ctl::Frame1, 120,  360,  1575, 615},
    {ctl::Command2, L"Button",  L"清除相关进程",  ctl::Frame1, 1800, 360,  1575, 615},
    {ctl::Command3, L"Button",  L"清除Explorer",  ctl::Frame1, 3480, 360,  1575, 615},
    {ctl::Frame2,   L"Button",  L"相关操作",      -1,          120,  1680, 3375, 4215},
    {ctl::Command4, L"Button",  L"一键强力修复",  ctl::Frame2, 120,  240,  3135, 615},
    {ctl::Frame3,   L"Button",  L"强力排除过程",  ctl::Frame2, 120,  1080, 3135, 2175},
    {ctl::List1,    L"ListBox", L"",              ctl::Frame3, 120,  240,  2895, 1860},
    {ctl::S1,       L"msctls_statusbar32", nullptr, -1,        0,    6255, 7815, 615},
    {ctl::Command5, L"Button",  L"弹出安全删除硬件的窗口", -1, 240,  5160, 3135, 615},
    {ctl::Frame4,   L"Button",  L"程序相关说明",  -1,          3600, 1680, 4095, 4215},
    {ctl::Text1,    L"Edit",    nullptr,          ctl::Frame4, 120,  240,  3855, 3855},
    {ctl::Frame5,   L"Button",  L"相关网站",      -1,          5400, 240,  2295, 1215},
    {ctl::Option1,  L"Button",  L"Kestrin原创IT吧",   ctl::Frame5, 120, 360, 1935, 300},
    {ctl::Option2,  L"Button",  L"Kestrin粉丝交流吧", ctl::Frame5, 120, 720, 2055, 255},
};
// clang-format on

POINT Origin(int control) {
  if (control < 0) return {0, 0};
  const Expected& c = kControls[control];
  const POINT outer = Origin(c.container);
  return {outer.x + Pixels(c.left), outer.y + Pixels(c.top)};
}

TEST_F(Window, ShowsEveryControlWithItsCaptionWhereTheLayoutPutsIt) {
  for (const Expected& c : kControls) {
    SCOPED_TRACE(testing::Message() << "control " << c.control);
    HWND control = plindar->Control(c.control);
    ASSERT_TRUE(control);
    EXPECT_TRUE(::IsWindowVisible(control));
    EXPECT_EQ(::lstrcmpiW(e2e::ClassOf(control).c_str(), c.windowClass), 0)
        << base::WideToUtf8(e2e::ClassOf(control));
    if (c.caption) {
      EXPECT_EQ(e2e::WindowText(control), c.caption);
    }
    const RECT r = e2e::RectInParent(control);
    const POINT at = Origin(c.control);
    EXPECT_EQ(r.left, at.x);
    EXPECT_EQ(r.top, at.y);
    EXPECT_EQ(r.right - r.left, Pixels(c.width));
    EXPECT_EQ(r.bottom - r.top, Pixels(c.height));
  }
  EXPECT_EQ(::SendMessageW(plindar->Control(ctl::List1), LB_GETCOUNT, 0, 0), 0)
      << "the log starts empty";
  for (int option : {ctl::Option1, ctl::Option2})
    EXPECT_EQ(::SendMessageW(plindar->Control(option), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  const LONG listStyle = ::GetWindowLongW(plindar->Control(ctl::List1), GWL_STYLE);
  EXPECT_FALSE(listStyle & (LBS_SORT | LBS_MULTIPLESEL | LBS_EXTENDEDSEL));
  const LONG textStyle = ::GetWindowLongW(plindar->Control(ctl::Text1), GWL_STYLE);
  EXPECT_TRUE((textStyle & ES_READONLY) && (textStyle & ES_MULTILINE) && (textStyle & WS_VSCROLL));
}

TEST_F(Window, HelpTextHasItsTwelveLinesEachFollowedByABlankLine) {
  const std::wstring text = e2e::WindowText(plindar->Control(ctl::Text1));
  const std::wstring expected =
      L"\r\n1.0版的时候有不耻人士恶意修改了\r\n\r\nKestrin的程序,Kestrin在这里强烈鄙视下\r\n\r\n"
      L"自己没本事.改什么别人程序.不知廉耻\r\n\r\n------------------------------------\r\n\r\n"
      L"本程序可帮助您解决在拔出U盘时提示\r\n\r\n无法停止\"通用卷\"设备。的\r\n\r\n"
      L"您一定要确保您当前所有的文件已经关闭\r\n\r\n再使用本软件否则使用多次也无任何效果\r\n\r\n"
      L"首先选择逐一排除,处理按照从小到大排列\r\n\r\n如果逐一排除无效,请点击一键强力修复下\r\n\r\n"
      L"如有疑问联系作者KestrinQ:10000\r\n\r\nKestrin原创IT吧:kestrin.example.com\r\n";
  EXPECT_EQ(text, expected);
  size_t breaks = 0;
  for (size_t at = text.find(L"\r\n"); at != std::wstring::npos; at = text.find(L"\r\n", at + 2))
    ++breaks;
  EXPECT_EQ(breaks, 24u);
  EXPECT_EQ(::SendMessageW(plindar->Control(ctl::Text1), EM_GETFIRSTVISIBLELINE, 0, 0), 0);
}

TEST_F(Window, StatusBarShowsItsThreePanels) {
  HWND statusBar = plindar->Control(ctl::S1);
  EXPECT_EQ(::SendMessageW(statusBar, SB_GETPARTS, 0, 0), 3);
  EXPECT_EQ(e2e::StatusPanelText(statusBar, 0), L"状态：");
  EXPECT_EQ(e2e::StatusPanelText(statusBar, 1), L"程序已加载完毕...");
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

TEST_F(Window, FocusStartsOnCommand1AndTabFollowsTheLayout) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  ASSERT_TRUE(::GetGUIThreadInfo(plindar->threadId(), &info));
  EXPECT_EQ(info.hwndFocus, plindar->Control(ctl::Command1));

  std::vector<int> order;
  HWND at = plindar->Control(ctl::Command1);
  for (size_t i = 0; i < e2e::kTabStops.size(); ++i) {
    order.push_back(::GetDlgCtrlID(at) - platform::kFirstControlId);
    at = ::GetNextDlgTabItem(plindar->window(), at, FALSE);
  }
  EXPECT_EQ(order, e2e::kTabStops);
  EXPECT_EQ(at, plindar->Control(ctl::Command1)) << "and back round to Command1";
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
    bool given;  // by the program, not from the control's own caption
  } cases[] = {
      {ctl::Command1, L"清空剪贴板", false},      // a button, from its caption
      {ctl::List1, L"强力排除过程", true},        // the log, after the frame around it
      {ctl::Text1, L"程序相关说明", true},        // the help text, likewise
      {ctl::Option1, L"Kestrin原创IT吧", false},  // an option, from its caption
  };
  const bool kept = KeepsScreenReaderNames();
  for (const Case& c : cases) {
    SCOPED_TRACE(base::WideToUtf8(c.name));
    if (c.given && !kept) continue;
    IAccessible* object = nullptr;
    ASSERT_TRUE(SUCCEEDED(::AccessibleObjectFromWindow(plindar->Control(c.control), OBJID_CLIENT,
                                                       IID_IAccessible,
                                                       reinterpret_cast<void**>(&object))));
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    EXPECT_EQ(object->get_accName(self, &name), S_OK);
    EXPECT_EQ(std::wstring(name ? name : L""), c.name);
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
  if (!kept)
    std::printf(
        "note: the names of the log and the help text were not checked: this system keeps "
        "no names a program gives its controls (Wine 8 refuses them)\n");
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

TEST(WindowAtHighDpi, IsOneAndAHalfTimesLargerAt144Dpi) {
  if (!e2e::MayEndSystemProcesses())
    GTEST_SKIP() << "changes the user's DPI: runs only in a throwaway Wine prefix";
  ScopedUserDpi dpi(144);
  Plindar plindar;
  ASSERT_TRUE(plindar.window());
  RECT client{};
  ::GetClientRect(plindar.window(), &client);
  EXPECT_EQ(client.right, 782);  // 7815 twips at 144 DPI, rounded
  EXPECT_EQ(client.bottom, 687);
  const RECT command1 = e2e::RectInParent(plindar.Control(ctl::Command1));
  EXPECT_EQ(command1.left, 24);  // Frame1's 120 twips plus Command1's 120
  EXPECT_EQ(command1.top, 60);   // 240 plus 360
  EXPECT_EQ(command1.right - command1.left, 158);
  EXPECT_EQ(command1.bottom - command1.top, 62);
}

}  // namespace
