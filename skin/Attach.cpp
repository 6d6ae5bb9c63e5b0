#include "skin/Attach.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/Handles.h"
#include "base/StatusText.h"
#include "skin/Look.h"
#include "skin/Painters.h"
#include "skin/Roles.h"
#include "skin/SkinFile.h"
#include "skin/SkinH_VB6.h"

namespace skin {
namespace {

constexpr UINT_PTR kSubclassId = 0x5348;  // "SH"

// Hands a message on to the control (or window) beneath the skin, and remembers the answer.
class Pass {
 public:
  Pass(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
      : window_(window), message_(message), wParam_(wParam), lParam_(lParam) {}
  LRESULT operator()() {
    answer_ = ::DefSubclassProc(window_, message_, wParam_, lParam_);
    return *answer_;
  }
  // The answer of the control beneath: the one it gave, or, if the message has not been
  // handed on yet, the one it gives now.
  LRESULT Answer() { return answer_ ? *answer_ : (*this)(); }

 private:
  HWND window_;
  UINT message_;
  WPARAM wParam_;
  LPARAM lParam_;
  std::optional<LRESULT> answer_;
};

LRESULT CALLBACK ControlProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
LRESULT CALLBACK ContainerProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);

// The boundary of every subclass procedure of the library: nothing the look does may take the
// program down or unwind into Windows. Should drawing fail (no memory, a control answering
// nonsense), the control handles the message as it would without the skin.
template <class Body>
LRESULT Guarded(HWND window, UINT message, WPARAM wParam, LPARAM lParam, Body body) noexcept {
  Pass pass(window, message, wParam, lParam);
  try {
    return body(pass);
  } catch (...) {
    return pass.Answer();
  }
}

std::unique_ptr<Look> g_look;
HHOOK g_hook = nullptr;
// The classes of the program's own top-level windows, as found at the attach: a later
// top-level window is skinned only if it is one of these or a message box, never the input
// method's windows, menus or tooltips that the thread also creates.
std::vector<std::wstring> g_ownClasses;

// In high contrast the library steps aside: it paints nothing of its own, and Windows draws
// every control, message boxes included, in the user's system colours. Windows' setting
// decides, unless a test or the user overrode it (OverrideHighContrast).
int g_highContrastOverride = -1;
bool g_stepAside = false;

bool HighContrastOn() {
  if (g_highContrastOverride >= 0) return g_highContrastOverride != 0;
  HIGHCONTRASTW setting{};
  setting.cbSize = sizeof(setting);
  return ::SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(setting), &setting, 0) &&
         (setting.dwFlags & HCF_HIGHCONTRASTON);
}

BOOL CALLBACK RedrawTopLevel(HWND window, LPARAM) {
  ::RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  return TRUE;
}

// Called when Windows says a setting, the system colours or the theme changed: the look
// comes back, or goes, with high contrast.
void FollowHighContrast() {
  const bool stepAside = HighContrastOn();
  if (stepAside == g_stepAside) return;
  g_stepAside = stepAside;
  ::EnumThreadWindows(::GetCurrentThreadId(), RedrawTopLevel, 0);
}

// Messages after which a control has painted itself (directly, not through WM_PAINT) and must
// be painted again in the skin's look.
bool ChangesLook(Role role, UINT message, HWND window) {
  switch (message) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CAPTURECHANGED:
    case WM_UPDATEUISTATE:
    case WM_CHAR:
      return true;
    case WM_MOUSEMOVE:
      return ::GetCapture() == window;
    case BM_SETSTATE:
    case BM_SETCHECK:
    case BM_SETSTYLE:
    case BM_CLICK:
      return role == Role::kPushButton || role == Role::kOption || role == Role::kFrame;
    case LB_SETCURSEL:
    case LB_ADDSTRING:
    case LB_INSERTSTRING:
    case LB_DELETESTRING:
    case LB_RESETCONTENT:
    case LB_SETTOPINDEX:
    case WM_VSCROLL:
    case WM_MOUSEWHEEL:
      return role == Role::kList;
    default:
      return false;
  }
}

LRESULT ControlMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                       Role role, Pass& pass) {
  const Look* look = g_look.get();
  if (role == Role::kStatus) {
    // No text longer than the bar can report is stored: the painter reads them back.
    LRESULT result = 0;
    if (base::SetPartTextCut(window, message, wParam, lParam, result)) {
      if (look && !g_stepAside && ::IsWindowVisible(window))
        ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_NOERASE);
      return result;
    }
  }
  if (!look || (g_stepAside && message != WM_NCDESTROY)) return pass();
  switch (message) {
    case WM_NCDESTROY:
      ::RemovePropW(window, kHotProperty);
      ::RemoveWindowSubclass(window, ControlProc, id);
      return pass();
    case WM_PAINT:
      if (role == Role::kText) break;
      {
        PaintDc dc(window);
        Paint(window, role, dc.get(), *look);
      }
      return 0;
    case WM_PRINTCLIENT:
      if (role == Role::kText) break;
      Paint(window, role, reinterpret_cast<HDC>(wParam), *look);
      return 0;
    case WM_ERASEBKGND:
      if (role == Role::kText) break;
      return 1;
    case WM_NCPAINT: {
      // A control without a frame or scroll bar has no non-client area: nothing to draw there.
      if (!HasNonClientArea(window)) return 0;
      const LRESULT result = pass();
      if (role == Role::kList)
        PaintFlatEdge(window, Ref(look->skin.buttonBorder), Ref(look->skin.listBackground));
      if (role == Role::kText)
        PaintFlatEdge(window, Ref(look->skin.buttonBorder), Ref(look->skin.textBackground));
      return result;
    }
    case WM_MOUSEMOVE:
      if ((role == Role::kPushButton || role == Role::kOption) && !Hot(window)) {
        ::SetPropW(window, kHotProperty, reinterpret_cast<HANDLE>(1));
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, window, 0};
        ::TrackMouseEvent(&track);
        ::InvalidateRect(window, nullptr, FALSE);
      }
      break;
    case WM_MOUSELEAVE:
      ::RemovePropW(window, kHotProperty);
      ::InvalidateRect(window, nullptr, FALSE);
      break;
    default:
      break;
  }
  const LRESULT result = pass();
  if (role != Role::kText && ChangesLook(role, message, window) && ::IsWindowVisible(window))
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_NOERASE);
  return result;
}

LRESULT CALLBACK ControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                             DWORD_PTR data) {
  return Guarded(window, message, wParam, lParam, [&](Pass& pass) {
    return ControlMessage(window, message, wParam, lParam, id, static_cast<Role>(data), pass);
  });
}

// The program's windows and the message boxes: their background, and the colours of the
// controls that ask their parent for them (static texts, the read-only text box).
LRESULT ContainerMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                         Role role, Pass& pass) {
  const bool dialog = role == Role::kDialog;
  if (message == WM_SETTINGCHANGE || message == WM_SYSCOLORCHANGE || message == WM_THEMECHANGED)
    FollowHighContrast();
  const Look* look = g_look.get();
  if (!look || (g_stepAside && message != WM_NCDESTROY)) return pass();
  const Skin& s = look->skin;
  HBRUSH background = dialog ? look->message.get() : look->window.get();
  switch (message) {
    case WM_NCDESTROY:
      ::RemoveWindowSubclass(window, ContainerProc, id);
      break;
    case WM_ERASEBKGND: {
      RECT client;
      ::GetClientRect(window, &client);
      ::FillRect(reinterpret_cast<HDC>(wParam), &client, background);
      return 1;
    }
    case WM_PAINT:
      if (dialog) {  // covers the band a message box paints under its buttons
        PaintDc dc(window);
        RECT client;
        ::GetClientRect(window, &client);
        ::FillRect(dc.get(), &client, background);
        return 0;
      }
      break;
    case WM_CTLCOLORDLG:
      return reinterpret_cast<LRESULT>(background);
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      const bool textBox =
          ::lstrcmpiW(ClassName(reinterpret_cast<HWND>(lParam)).c_str(), L"Edit") == 0;
      if (textBox) {
        ::SetTextColor(dc, Ref(s.textText));
        ::SetBkColor(dc, Ref(s.textBackground));
        return reinterpret_cast<LRESULT>(look->text.get());
      }
      ::SetTextColor(dc, Ref(dialog ? s.messageText : s.windowText));
      ::SetBkColor(dc, Ref(dialog ? s.messageBackground : s.windowBackground));
      return reinterpret_cast<LRESULT>(background);
    }
    case WM_CTLCOLORLISTBOX: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      ::SetTextColor(dc, Ref(s.listText));
      ::SetBkColor(dc, Ref(s.listBackground));
      return reinterpret_cast<LRESULT>(look->list.get());
    }
    case WM_CTLCOLORBTN:
      return reinterpret_cast<LRESULT>(background);
    default:
      break;
  }
  return pass();
}

LRESULT CALLBACK ContainerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                               DWORD_PTR data) {
  return Guarded(window, message, wParam, lParam, [&](Pass& pass) {
    return ContainerMessage(window, message, wParam, lParam, id, static_cast<Role>(data), pass);
  });
}

void Attach(HWND window, LONG style) {
  const Role role = RoleOf(window, style);
  switch (role) {
    case Role::kNone:
      return;
    case Role::kForm:
    case Role::kDialog:
      // Subclassing again with the same procedure and id only replaces its data: a second
      // attach never stacks a second subclass.
      ::SetWindowSubclass(window, ContainerProc, kSubclassId, static_cast<DWORD_PTR>(role));
      return;
    default:
      ::SetWindowSubclass(window, ControlProc, kSubclassId, static_cast<DWORD_PTR>(role));
      return;
  }
}

BOOL CALLBACK AttachChild(HWND child, LPARAM font) {
  try {
    Attach(child, ::GetWindowLongW(child, GWL_STYLE));
    if (font) ::SendMessageW(child, WM_SETFONT, static_cast<WPARAM>(font), FALSE);
  } catch (...) {
    // This one keeps Windows' look; the others are still skinned.
  }
  return TRUE;
}

bool IsOwnClass(HWND window) {
  return std::find(g_ownClasses.begin(), g_ownClasses.end(), ClassName(window)) !=
         g_ownClasses.end();
}

BOOL CALLBACK AttachTopLevel(HWND window, LPARAM font) {
  try {
    const LONG style = ::GetWindowLongW(window, GWL_STYLE);
    const Role role = RoleOf(window, style);
    if (role == Role::kForm && !IsOwnClass(window)) g_ownClasses.push_back(ClassName(window));
    Attach(window, style);
    // The skin's font goes to the controls of the program's own windows; a message box has
    // measured its layout for the font it was made with, and keeps it.
    ::EnumChildWindows(window, AttachChild, role == Role::kDialog ? 0 : font);
    ::RedrawWindow(window, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  } catch (...) {
    // As for a child: this window keeps Windows' look.
  }
  return TRUE;
}

// Windows the thread creates after the attach (message boxes and their buttons among them)
// are subclassed as they are made.
LRESULT CALLBACK CreationHook(int code, WPARAM wParam, LPARAM lParam) {
  try {
    if (code == HCBT_CREATEWND && g_look) {
      const auto* create = reinterpret_cast<CBT_CREATEWNDW*>(lParam);
      HWND window = reinterpret_cast<HWND>(wParam);
      if (RoleOf(window, create->lpcs->style) != Role::kForm || IsOwnClass(window))
        Attach(window, create->lpcs->style);
    }
  } catch (...) {
    // The new window keeps Windows' look.
  }
  return ::CallNextHookEx(g_hook, code, wParam, lParam);
}

// What the skin's font will show in the thread's windows: their texts, and the captions that
// must fit their controls. Message boxes keep the font they were made with.
struct Shown {
  std::wstring texts;
  std::vector<Caption> captions;
};

BOOL CALLBACK NoteChild(HWND child, LPARAM shown) {
  try {
    auto& s = *reinterpret_cast<Shown*>(shown);
    const Role role = RoleOf(child, ::GetWindowLongW(child, GWL_STYLE));
    std::wstring text = TextOf(child);
    if (role == Role::kStatus) {
      const int parts = static_cast<int>(::SendMessageW(child, SB_GETPARTS, 0, 0));
      for (int i = 0; i < parts; ++i) text += base::PartText(child, i);
    }
    s.texts += text;
    RECT client{};
    ::GetClientRect(child, &client);
    if (role == Role::kPushButton || role == Role::kOption || role == Role::kFrame)
      s.captions.push_back({std::move(text), role, {client.right, client.bottom}});
  } catch (...) {
    // A window whose texts cannot be read has them left out.
  }
  return TRUE;
}

BOOL CALLBACK NoteTopLevel(HWND window, LPARAM shown) {
  if (RoleOf(window, ::GetWindowLongW(window, GWL_STYLE)) == Role::kForm)
    ::EnumChildWindows(window, NoteChild, shown);
  return TRUE;
}

int ReadSkinFile(const char* path, std::string& contents) {
  if (!path || !*path) return kSkinNoPath;
  const DWORD attributes = ::GetFileAttributesA(path);
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = ::GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
                   error == ERROR_INVALID_NAME || error == ERROR_BAD_NETPATH
               ? kSkinMissing
               : kSkinUnreadable;
  }
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return kSkinUnreadable;
  base::UniqueFile owner(::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!owner) return kSkinUnreadable;
  HANDLE file = owner.get();
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file, &size)) return kSkinUnreadable;
  if (size.QuadPart > static_cast<LONGLONG>(kMaxFileBytes)) return kSkinTooLarge;
  contents.resize(static_cast<size_t>(size.QuadPart));
  DWORD read = 0;
  if (!contents.empty() &&
      (!::ReadFile(file, contents.data(), static_cast<DWORD>(contents.size()), &read, nullptr) ||
       read != contents.size()))
    return kSkinUnreadable;
  return kSkinApplied;
}

}  // namespace

int AttachSkin(const char* path) {
  std::string contents;
  if (const int result = ReadSkinFile(path, contents); result != kSkinApplied) return result;
  const ParseResult parsed = Parse(contents);
  if (parsed.status == ParseStatus::kTooLarge) return kSkinTooLarge;
  if (parsed.status != ParseStatus::kOk) return kSkinNotASkin;

  auto look = std::make_unique<Look>(parsed.skin);
  Shown shown;
  ::EnumThreadWindows(::GetCurrentThreadId(), NoteTopLevel, reinterpret_cast<LPARAM>(&shown));
  look->font.reset(CreateSkinFont(parsed.skin, shown.texts, shown.captions));
  if (!look->Complete()) return kSkinFailed;

  // The new look takes over before the windows are told to repaint; the old one's objects are
  // deleted only once nothing uses them any more.
  std::unique_ptr<Look> old = std::move(g_look);
  g_look = std::move(look);
  g_stepAside = HighContrastOn();
  if (!g_hook) g_hook = ::SetWindowsHookExW(WH_CBT, CreationHook, nullptr, ::GetCurrentThreadId());
  ::EnumThreadWindows(::GetCurrentThreadId(), AttachTopLevel,
                      reinterpret_cast<LPARAM>(g_look->font.get()));
  return kSkinApplied;
}

void OverrideHighContrast(int state) { g_highContrastOverride = state < 0 ? -1 : state != 0; }

void StopDrawing() {
  if (g_hook) ::UnhookWindowsHookEx(g_hook);
  g_hook = nullptr;
}

}  // namespace skin
