#include "skin/Subclass.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <optional>

#include "base/StatusText.h"
#include "skin/Attach.h"
#include "skin/HighContrast.h"
#include "skin/Look.h"
#include "skin/Kinds.h"

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

// What the subclass keeps of a control: its role and its parent's, recorded once when it is
// subclassed.
DWORD_PTR Roles(Role own, Role parent) {
  return static_cast<DWORD_PTR>(own) | static_cast<DWORD_PTR>(parent) << 8;
}
Role OwnRole(DWORD_PTR roles) { return static_cast<Role>(roles & 0xFF); }
Role ParentRole(DWORD_PTR roles) { return static_cast<Role>(roles >> 8 & 0xFF); }

// Whether `message` leaves a control of `kind` having painted itself (directly, not through
// WM_PAINT), so that it must be painted again in the skin's look.
bool ChangesLook(const Kind& kind, UINT message, HWND window) {
  if (!kind.paint) return false;
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
    default:
      return std::find(kind.repaintAfter.begin(), kind.repaintAfter.end(), message) !=
             kind.repaintAfter.end();
  }
}

LRESULT ControlMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                       DWORD_PTR roles, Pass& pass) {
  const Role role = OwnRole(roles);
  const Look* look = CurrentLook();
  if (role == Role::kStatus) {
    // No text longer than the bar can report is stored: the painter reads them back.
    LRESULT result = 0;
    if (base::SetPartTextCut(window, message, wParam, lParam, result)) {
      if (look && !SteppingAside() && ::IsWindowVisible(window))
        ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_NOERASE);
      return result;
    }
  }
  const Kind* kind = KindOf(role);
  if (!kind || !look || (SteppingAside() && message != WM_NCDESTROY)) return pass();
  switch (message) {
    case WM_NCDESTROY:
      ::RemovePropW(window, kHotProperty);
      ::RemoveWindowSubclass(window, ControlProc, id);
      return pass();
    case WM_PAINT:
      if (!kind->paint) break;
      try {
        PaintDc dc(window);
        Paint(window, *kind, ParentRole(roles), dc.get(), *look);
      } catch (...) {
        // BeginPaint has emptied the update region: Windows' own drawing, which the boundary
        // falls back to, would find nothing to paint and leave the control blank.
        ::InvalidateRect(window, nullptr, TRUE);
        throw;
      }
      return 0;
    case WM_PRINTCLIENT:
      if (!kind->paint) break;
      Paint(window, *kind, ParentRole(roles), reinterpret_cast<HDC>(wParam), *look);
      return 0;
    case WM_ERASEBKGND:
      if (!kind->paint) break;
      return 1;
    case WM_NCPAINT: {
      // A control without a frame or scroll bar has no non-client area: nothing to draw there.
      if (!HasNonClientArea(window)) return 0;
      const LRESULT result = pass();
      if (kind->flatEdge)
        PaintFlatEdge(window, Ref(look->skin.buttonBorder), Ref(look->skin.*kind->flatEdge));
      return result;
    }
    case WM_MOUSEMOVE:
      if (kind->hot && !Hot(window)) {
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
  if (ChangesLook(*kind, message, window) && ::IsWindowVisible(window))
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_NOERASE);
  return result;
}

LRESULT CALLBACK ControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                             DWORD_PTR data) {
  return Guarded(window, message, wParam, lParam, [&](Pass& pass) {
    return ControlMessage(window, message, wParam, lParam, id, data, pass);
  });
}

// The program's windows and the message boxes: their background, and the colours of the
// controls that ask their parent for them (static texts, the read-only text box).
LRESULT ContainerMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                         Role role, Pass& pass) {
  const bool dialog = role == Role::kDialog;
  if (message == WM_SETTINGCHANGE || message == WM_SYSCOLORCHANGE || message == WM_THEMECHANGED)
    FollowHighContrast();
  const Look* look = CurrentLook();
  if (!look || (SteppingAside() && message != WM_NCDESTROY)) return pass();
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
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX: {
      // A kind Windows draws in colours of its row; anything else (a static text, an option's
      // caption) on the window's background.
      HDC dc = reinterpret_cast<HDC>(wParam);
      const auto control = reinterpret_cast<HWND>(lParam);
      const Kind* kind = KindOf(RoleOf(control, ::GetWindowLongW(control, GWL_STYLE)));
      if (kind && kind->text) {
        const Brush& brush = look->*kind->background;
        ::SetTextColor(dc, Ref(s.*kind->text));
        ::SetBkColor(dc, brush.color);
        return reinterpret_cast<LRESULT>(brush.get());
      }
      ::SetTextColor(dc, Ref(dialog ? s.messageText : s.windowText));
      ::SetBkColor(dc, Ref(dialog ? s.messageBackground : s.windowBackground));
      return reinterpret_cast<LRESULT>(background);
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

}  // namespace

void Subclass(HWND window, LONG style, HWND parent) {
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
    default: {
      const Role parentRole =
          parent ? RoleOf(parent, ::GetWindowLongW(parent, GWL_STYLE)) : Role::kNone;
      ::SetWindowSubclass(window, ControlProc, kSubclassId, Roles(role, parentRole));
      return;
    }
  }
}

}  // namespace skin
