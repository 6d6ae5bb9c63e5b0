// The skin library: reads a skin file and draws the calling thread's windows in its look by
// subclassing them. Controls are never replaced, moved or restyled, so every message a program
// sends them behaves as before; only their painting changes.
#include "skin/SkinH_VB6.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "platform/Handles.h"
#include "platform/LeanRuntime.h"
#include "skin/Paint.h"
#include "skin/SkinFile.h"

namespace skin {
namespace {

constexpr UINT_PTR kSubclassId = 0x5348;  // "SH"
constexpr wchar_t kHotProperty[] = L"SkinH.Hot";

enum class Role { kNone, kForm, kDialog, kPushButton, kFrame, kOption, kList, kText, kStatus };

COLORREF Ref(Color c) { return RGB(c.r, c.g, c.b); }

// The GDI objects one skin needs, made together and deleted together.
struct Look {
  Skin skin;
  Brush window, message, list, text, status, buttonFace;
  HFONT font = nullptr;

  explicit Look(const Skin& s)
      : skin(s),
        window(Ref(s.windowBackground)),
        message(Ref(s.messageBackground)),
        list(Ref(s.listBackground)),
        text(Ref(s.textBackground)),
        status(Ref(s.statusBackground)),
        buttonFace(Ref(s.buttonFace)) {}
  ~Look() {
    if (font) ::DeleteObject(font);
  }
  Look(const Look&) = delete;
  Look& operator=(const Look&) = delete;

  bool Complete() const {
    return window.get() && message.get() && list.get() && text.get() && status.get() &&
           buttonFace.get();
  }
};

std::unique_ptr<Look> g_look;
HHOOK g_hook = nullptr;
// The classes of the program's own top-level windows, as found at the attach: a later
// top-level window is skinned only if it is one of these or a message box, never the input
// method's windows, menus or tooltips that the thread also creates.
std::vector<std::wstring> g_ownClasses;

std::wstring ClassName(HWND window) {
  wchar_t name[64] = L"";
  ::GetClassNameW(window, name, 64);
  return name;
}

Role RoleOf(HWND window, LONG style) {
  const std::wstring name = ClassName(window);
  auto is = [&](const wchar_t* other) { return ::lstrcmpiW(name.c_str(), other) == 0; };
  if (is(L"#32770")) return Role::kDialog;
  if (is(L"Button")) {
    switch (style & BS_TYPEMASK) {
      case BS_PUSHBUTTON:
      case BS_DEFPUSHBUTTON:
        return Role::kPushButton;
      case BS_GROUPBOX:
        return Role::kFrame;
      case BS_RADIOBUTTON:
      case BS_AUTORADIOBUTTON:
        return Role::kOption;
      default:
        return Role::kNone;
    }
  }
  if (is(L"ListBox"))
    return (style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) ? Role::kNone : Role::kList;
  if (is(L"Edit")) return Role::kText;
  if (is(L"msctls_statusbar32")) return Role::kStatus;
  if (!(style & WS_CHILD)) return Role::kForm;
  return Role::kNone;
}

HFONT FontOf(HWND window) {
  auto font = reinterpret_cast<HFONT>(::SendMessageW(window, WM_GETFONT, 0, 0));
  return font ? font : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
}

std::wstring TextOf(HWND window) {
  const int length = ::GetWindowTextLengthW(window);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(::GetWindowTextW(window, text.data(), length + 1)));
  return text;
}

bool HasNonClientArea(HWND window) {
  RECT outer, client;
  ::GetWindowRect(window, &outer);
  ::GetClientRect(window, &client);
  return outer.right - outer.left != client.right || outer.bottom - outer.top != client.bottom;
}

// Whether focus indicators show now: always once the keyboard has been used, and from the
// start where the user's setting asks for them (Windows keeps that state per window).
bool FocusCuesShown(HWND window) {
  return !(::SendMessageW(window, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS);
}

bool Hot(HWND window) { return ::GetPropW(window, kHotProperty) != nullptr; }

enum class Shape { kRounded, kEllipse };

// Outlines a shape in `border`, filled with `fill` or left hollow when there is none.
void DrawShape(HDC dc, Shape shape, const RECT& r, const COLORREF* fill, COLORREF border,
               int radius = 0) {
  Brush brush(fill ? *fill : 0);
  Pen pen(border);
  Select b(dc, fill ? static_cast<HGDIOBJ>(brush.get()) : ::GetStockObject(NULL_BRUSH));
  Select p(dc, pen.get());
  if (shape == Shape::kRounded)
    ::RoundRect(dc, r.left, r.top, r.right, r.bottom, radius, radius);
  else
    ::Ellipse(dc, r.left, r.top, r.right, r.bottom);
}

void RoundedBox(HDC dc, const RECT& r, COLORREF fill, COLORREF border, int radius) {
  DrawShape(dc, Shape::kRounded, r, &fill, border, radius);
}

void FrameRectColor(HDC dc, const RECT& r, COLORREF color) {
  Brush brush(color);
  ::FrameRect(dc, &r, brush.get());
}

void PaintPushButton(HWND window, HDC target, const Look& look) {
  RECT client;
  ::GetClientRect(window, &client);
  Buffered buffer(target, client);
  HDC dc = buffer.get();
  const Skin& s = look.skin;
  const LRESULT state = ::SendMessageW(window, BM_GETSTATE, 0, 0);
  const bool enabled = ::IsWindowEnabled(window);
  const bool pushed = (state & BST_PUSHED) != 0;
  const bool focused = ::GetFocus() == window && FocusCuesShown(window);

  HWND parent = ::GetParent(window);
  const bool inDialog =
      parent && RoleOf(parent, ::GetWindowLongW(parent, GWL_STYLE)) == Role::kDialog;
  ::FillRect(dc, &client, inDialog ? look.message.get() : look.window.get());
  const Color face = !enabled      ? s.buttonDisabled
                     : pushed      ? s.buttonPressed
                     : Hot(window) ? s.buttonHot
                                   : s.buttonFace;
  const int radius = ::MulDiv(6, ::GetDeviceCaps(dc, LOGPIXELSY), 96);
  RoundedBox(dc, client, Ref(face), Ref(focused && enabled ? s.buttonFocus : s.buttonBorder),
             radius);
  if (focused && enabled) {  // a second ring inside the first: the focus reads at a glance
    RECT inner = client;
    ::InflateRect(&inner, -1, -1);
    DrawShape(dc, Shape::kRounded, inner, nullptr, Ref(s.buttonFocus), radius);
  }
  Select font(dc, FontOf(window));
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, Ref(enabled ? s.buttonText : s.buttonDisabledText));
  RECT text = client;
  if (pushed) ::OffsetRect(&text, 0, 1);
  const std::wstring caption = TextOf(window);
  // Message box buttons carry access keys ("是(&Y)"): underline them as Windows would, and
  // only while the keyboard cues are showing.
  const bool hideCues = ::SendMessageW(window, WM_QUERYUISTATE, 0, 0) & UISF_HIDEACCEL;
  ::DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | (hideCues ? DT_HIDEPREFIX : 0));
}

void PaintFrame(HWND window, HDC target, const Look& look) {
  RECT client;
  ::GetClientRect(window, &client);
  HDC dc = target;
  const Skin& s = look.skin;
  ::FillRect(dc, &client, look.window.get());
  Select font(dc, FontOf(window));
  TEXTMETRICW metrics{};
  ::GetTextMetricsW(dc, &metrics);
  const std::wstring caption = TextOf(window);
  SIZE extent{};
  ::GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &extent);

  RECT border = client;
  border.top += metrics.tmHeight / 2;
  const int radius = ::MulDiv(8, ::GetDeviceCaps(dc, LOGPIXELSY), 96);
  DrawShape(dc, Shape::kRounded, border, nullptr, Ref(s.frameBorder), radius);
  if (!caption.empty()) {
    const int pad = metrics.tmAveCharWidth / 2 + 1;
    RECT gap{client.left + radius, client.top, client.left + radius + extent.cx + 2 * pad,
             client.top + metrics.tmHeight};
    ::FillRect(dc, &gap, look.window.get());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, Ref(s.frameText));
    RECT text{gap.left + pad, gap.top, gap.right, gap.bottom};
    ::DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text,
                DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
  }
}

void PaintOption(HWND window, HDC target, const Look& look) {
  RECT client;
  ::GetClientRect(window, &client);
  Buffered buffer(target, client);
  HDC dc = buffer.get();
  const Skin& s = look.skin;
  const bool enabled = ::IsWindowEnabled(window);
  const bool checked = ::SendMessageW(window, BM_GETCHECK, 0, 0) == BST_CHECKED;
  ::FillRect(dc, &client, look.window.get());

  Select font(dc, FontOf(window));
  TEXTMETRICW metrics{};
  ::GetTextMetricsW(dc, &metrics);
  const int size =
      std::min<int>(::MulDiv(13, ::GetDeviceCaps(dc, LOGPIXELSY), 96), client.bottom) | 1;
  const int top = (client.bottom - size) / 2;
  const RECT ring{client.left + 1, top, client.left + 1 + size, top + size};
  const COLORREF inside = Ref(enabled ? s.listBackground : s.buttonDisabled);
  DrawShape(dc, Shape::kEllipse, ring, &inside,
            Ref(checked && enabled ? s.optionMark : s.optionBorder));
  if (checked) {
    const int inset = size / 4 + 1;
    const COLORREF mark = Ref(enabled ? s.optionMark : s.buttonDisabledText);
    const RECT dot{ring.left + inset, ring.top + inset, ring.right - inset, ring.bottom - inset};
    DrawShape(dc, Shape::kEllipse, dot, &mark, mark);
  }
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, Ref(enabled ? s.windowText : s.buttonDisabledText));
  RECT text{ring.right + metrics.tmAveCharWidth, client.top, client.right, client.bottom};
  const std::wstring caption = TextOf(window);
  ::DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  if (::GetFocus() == window && FocusCuesShown(window)) {
    RECT measured = text;
    ::DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &measured,
                DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
    measured.top = (client.bottom - (measured.bottom - measured.top)) / 2;
    measured.bottom = measured.top + metrics.tmHeight;
    ::InflateRect(&measured, 1, 0);
    ::DrawFocusRect(dc, &measured);
  }
}

void PaintList(HWND window, HDC target, const Look& look) {
  RECT client;
  ::GetClientRect(window, &client);
  Buffered buffer(target, client);
  HDC dc = buffer.get();
  const Skin& s = look.skin;
  ::FillRect(dc, &client, look.list.get());
  Select font(dc, FontOf(window));
  ::SetBkMode(dc, TRANSPARENT);
  const int count = static_cast<int>(::SendMessageW(window, LB_GETCOUNT, 0, 0));
  const int height = static_cast<int>(::SendMessageW(window, LB_GETITEMHEIGHT, 0, 0));
  const int selected = static_cast<int>(::SendMessageW(window, LB_GETCURSEL, 0, 0));
  if (height <= 0) return;
  Brush selection(Ref(s.listSelection));
  for (int i = static_cast<int>(::SendMessageW(window, LB_GETTOPINDEX, 0, 0)); i < count; ++i) {
    RECT item;
    if (::SendMessageW(window, LB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&item)) == LB_ERR) break;
    if (item.top >= client.bottom) break;
    const int length = static_cast<int>(::SendMessageW(window, LB_GETTEXTLEN, i, 0));
    if (length < 0) continue;
    std::wstring line(static_cast<size_t>(length) + 1, L'\0');
    ::SendMessageW(window, LB_GETTEXT, i, reinterpret_cast<LPARAM>(line.data()));
    line.resize(static_cast<size_t>(length));
    if (i == selected) ::FillRect(dc, &item, selection.get());
    ::SetTextColor(dc, Ref(i == selected ? s.listSelectionText : s.listText));
    RECT text = item;
    text.left += 3;
    ::DrawTextW(dc, line.c_str(), length, &text,
                DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  }
  // The keyboard focus: around the line the keyboard acts on, or inside the empty list.
  if (::GetFocus() == window && FocusCuesShown(window)) {
    RECT focus = client;
    ::InflateRect(&focus, -1, -1);
    const int caret = static_cast<int>(::SendMessageW(window, LB_GETCARETINDEX, 0, 0));
    if (count > 0 && caret >= 0 && caret < count)
      ::SendMessageW(window, LB_GETITEMRECT, caret, reinterpret_cast<LPARAM>(&focus));
    ::SetTextColor(dc, RGB(0, 0, 0));
    ::SetBkColor(dc, RGB(255, 255, 255));
    ::DrawFocusRect(dc, &focus);
  }
}

void PaintStatus(HWND window, HDC target, const Look& look) {
  RECT client;
  ::GetClientRect(window, &client);
  Buffered buffer(target, client);
  HDC dc = buffer.get();
  const Skin& s = look.skin;
  ::FillRect(dc, &client, look.status.get());
  {
    RECT top{client.left, client.top, client.right, client.top + 1};
    Brush line(Ref(s.statusBorder));
    ::FillRect(dc, &top, line.get());
  }
  Select font(dc, FontOf(window));
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, Ref(s.statusText));
  const int parts = static_cast<int>(::SendMessageW(window, SB_GETPARTS, 0, 0));
  for (int i = 0; i < parts; ++i) {
    RECT part;
    if (!::SendMessageW(window, SB_GETRECT, i, reinterpret_cast<LPARAM>(&part))) continue;
    if (part.right < 0 || part.right > client.right) part.right = client.right;
    ::InflateRect(&part, -2, -4);
    RoundedBox(dc, part, Ref(s.statusBackground), Ref(s.statusBorder), 4);
    const LRESULT info = ::SendMessageW(window, SB_GETTEXTLENGTHW, i, 0);
    std::wstring text(static_cast<size_t>(LOWORD(info)) + 1, L'\0');
    ::SendMessageW(window, SB_GETTEXTW, i, reinterpret_cast<LPARAM>(text.data()));
    text.resize(LOWORD(info));
    RECT inner = part;
    ::InflateRect(&inner, -4, 0);
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &inner,
                DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  }
}

// A flat one-pixel border in place of the sunken 3-D edge of a list or text box.
void PaintFlatEdge(HWND window, COLORREF border, COLORREF inside) {
  if (!(::GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_CLIENTEDGE)) return;
  WindowDc dc(window);
  if (!dc.get()) return;
  RECT r;
  ::GetWindowRect(window, &r);
  ::OffsetRect(&r, -r.left, -r.top);
  FrameRectColor(dc.get(), r, border);
  ::InflateRect(&r, -1, -1);
  FrameRectColor(dc.get(), r, inside);
}

void Paint(HWND window, Role role, HDC dc, const Look& look) {
  switch (role) {
    case Role::kPushButton:
      PaintPushButton(window, dc, look);
      break;
    case Role::kFrame:
      PaintFrame(window, dc, look);
      break;
    case Role::kOption:
      PaintOption(window, dc, look);
      break;
    case Role::kList:
      PaintList(window, dc, look);
      break;
    case Role::kStatus:
      PaintStatus(window, dc, look);
      break;
    default:
      break;
  }
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

LRESULT CALLBACK ControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                             DWORD_PTR data) {
  const auto role = static_cast<Role>(data);
  const Look* look = g_look.get();
  if (!look) return ::DefSubclassProc(window, message, wParam, lParam);
  switch (message) {
    case WM_NCDESTROY:
      ::RemovePropW(window, kHotProperty);
      ::RemoveWindowSubclass(window, ControlProc, id);
      return ::DefSubclassProc(window, message, wParam, lParam);
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
      const LRESULT result = ::DefSubclassProc(window, message, wParam, lParam);
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
  const LRESULT result = ::DefSubclassProc(window, message, wParam, lParam);
  if (role != Role::kText && ChangesLook(role, message, window) && ::IsWindowVisible(window))
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_NOERASE);
  return result;
}

// The program's windows and the message boxes: their background, and the colours of the
// controls that ask their parent for them (static texts, the read-only text box).
LRESULT CALLBACK ContainerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                               DWORD_PTR data) {
  const bool dialog = static_cast<Role>(data) == Role::kDialog;
  const Look* look = g_look.get();
  if (!look) return ::DefSubclassProc(window, message, wParam, lParam);
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
  return ::DefSubclassProc(window, message, wParam, lParam);
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
  Attach(child, ::GetWindowLongW(child, GWL_STYLE));
  if (font) ::SendMessageW(child, WM_SETFONT, static_cast<WPARAM>(font), FALSE);
  return TRUE;
}

BOOL CALLBACK AttachTopLevel(HWND window, LPARAM font) {
  const LONG style = ::GetWindowLongW(window, GWL_STYLE);
  if (RoleOf(window, style) == Role::kForm) {
    const std::wstring name = ClassName(window);
    if (std::find(g_ownClasses.begin(), g_ownClasses.end(), name) == g_ownClasses.end())
      g_ownClasses.push_back(name);
  }
  Attach(window, style);
  // The skin's font goes to the controls of the program's own windows; a message box has
  // measured its layout for the font it was made with, and keeps it.
  const bool dialog = RoleOf(window, ::GetWindowLongW(window, GWL_STYLE)) == Role::kDialog;
  ::EnumChildWindows(window, AttachChild, dialog ? 0 : font);
  ::RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  return TRUE;
}

// Windows the thread creates after the attach (message boxes and their buttons among them)
// are subclassed as they are made.
LRESULT CALLBACK CreationHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND && g_look) {
    const auto* create = reinterpret_cast<CBT_CREATEWNDW*>(lParam);
    HWND window = reinterpret_cast<HWND>(wParam);
    const bool foreign =
        RoleOf(window, create->lpcs->style) == Role::kForm &&
        std::find(g_ownClasses.begin(), g_ownClasses.end(), ClassName(window)) == g_ownClasses.end();
    if (!foreign) Attach(window, create->lpcs->style);
  }
  return ::CallNextHookEx(g_hook, code, wParam, lParam);
}

std::wstring Utf8ToWide(const std::string& utf8) {
  std::wstring wide(utf8.size(), L'\0');
  const int length = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                           wide.data(), static_cast<int>(wide.size()));
  wide.resize(static_cast<size_t>(length > 0 ? length : 0));
  return wide;
}

int CALLBACK NoteFaceFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;  // one is enough
}

bool FaceInstalled(HDC dc, const std::wstring& face) {
  LOGFONTW query{};
  query.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(query.lfFaceName, face.c_str(), LF_FACESIZE);
  bool found = false;
  ::EnumFontFamiliesExW(dc, &query, NoteFaceFound, reinterpret_cast<LPARAM>(&found), 0);
  return found;
}

HFONT CreateSkinFont(const Skin& s) {
  WindowDc screen(nullptr);  // the whole screen
  const int dpi = screen.get() ? ::GetDeviceCaps(screen.get(), LOGPIXELSY) : 96;
  // Where the skin's face is not installed, a face asked for by name would be replaced by one
  // that may hold no Chinese at all (on an English Windows, every caption turns into boxes).
  // The message face that Windows gives the controls covers Chinese through font linking on
  // any system: keep it, at the skin's size.
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  const std::wstring face = Utf8ToWide(s.fontFace);
  LOGFONTW font{};
  if (!FaceInstalled(screen.get(), face) &&
      ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
    font = metrics.lfMessageFont;
  } else {
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = CLEARTYPE_QUALITY;
    lstrcpynW(font.lfFaceName, face.c_str(), LF_FACESIZE);
  }
  font.lfHeight = -::MulDiv(s.fontSize, dpi, 72);
  font.lfWidth = 0;
  font.lfWeight = FW_NORMAL;
  return ::CreateFontIndirectW(&font);
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
  platform::UniqueFile owner(::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
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

int AttachSkin(const char* path) {
  std::string contents;
  if (const int result = ReadSkinFile(path, contents); result != kSkinApplied) return result;
  const ParseResult parsed = Parse(contents);
  if (parsed.status == ParseStatus::kTooLarge) return kSkinTooLarge;
  if (parsed.status != ParseStatus::kOk) return kSkinNotASkin;

  auto look = std::make_unique<Look>(parsed.skin);
  look->font = CreateSkinFont(parsed.skin);
  if (!look->Complete()) return kSkinFailed;

  // The new look takes over before the windows are told to repaint; the old one's objects are
  // deleted only once nothing uses them any more.
  std::unique_ptr<Look> old = std::move(g_look);
  g_look = std::move(look);
  if (!g_hook) g_hook = ::SetWindowsHookExW(WH_CBT, CreationHook, nullptr, ::GetCurrentThreadId());
  ::EnumThreadWindows(::GetCurrentThreadId(), AttachTopLevel,
                      reinterpret_cast<LPARAM>(g_look->font));
  return kSkinApplied;
}

}  // namespace
}  // namespace skin

namespace lean_runtime {

// A standard-library failure inside the library is an exception like any other: the entry
// turns it into its failure code.
void Throw(LibraryError) { throw std::bad_alloc(); }
// An exception escaping a window procedure of the library has nowhere to go.
void Terminate() noexcept { std::abort(); }

}  // namespace lean_runtime

extern "C" __declspec(dllexport) int __stdcall SkinH_AttachEx(const char* skinPath,
                                                              const char* /*reserved*/) {
  // Nothing may escape into the calling program: a failure is a code, never an exception.
  try {
    return skin::AttachSkin(skinPath);
  } catch (...) {
    return kSkinFailed;
  }
}

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) {
    ::DisableThreadLibraryCalls(module);
  } else if (reason == DLL_PROCESS_DETACH && !reserved) {
    // Unloaded while the program runs on: stop drawing before the code goes away.
    if (skin::g_hook) ::UnhookWindowsHookEx(skin::g_hook);
    skin::g_hook = nullptr;
  }
  return TRUE;
}
