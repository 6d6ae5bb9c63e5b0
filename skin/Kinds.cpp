#include "skin/Kinds.h"

#include <commctrl.h>

#include <optional>
#include <string>

#include "base/Window.h"

namespace skin {
namespace {

bool GroupBoxStyle(LONG style) { return (style & BS_TYPEMASK) == BS_GROUPBOX; }
bool RadioStyle(LONG style) {
  const LONG type = style & BS_TYPEMASK;
  return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}
// An owner-drawn list draws its own lines.
bool ListStyle(LONG style) { return !(style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)); }
bool AnyStyle(LONG) { return true; }

// A button paints itself when its state, check or style is set, or it is clicked.
constexpr UINT kButtonMessages[] = {BM_SETSTATE, BM_SETCHECK, BM_SETSTYLE, BM_CLICK};
// A list paints itself when its lines, selection or scrolling change.
constexpr UINT kListMessages[] = {LB_SETCURSEL,    LB_ADDSTRING,   LB_INSERTSTRING, LB_DELETESTRING,
                                  LB_RESETCONTENT, LB_SETTOPINDEX, WM_VSCROLL,      WM_MOUSEWHEEL};

// Each row: role, class, style, painter, off-screen, background, text, repaint after, hot, flat
// edge, caption room (the fields of Kind, in order).
// clang-format off
constexpr Kind kKinds[] = {
    {Role::kPushButton, L"Button",             base::IsPushButtonStyle, PaintPushButton, true,  nullptr,       nullptr,         kButtonMessages, true,  nullptr,               PushButtonCaptionRoom},
    {Role::kFrame,      L"Button",             GroupBoxStyle,           PaintFrame,      false, nullptr,       nullptr,         kButtonMessages, false, nullptr,               FrameCaptionRoom},
    {Role::kOption,     L"Button",             RadioStyle,              PaintOption,     true,  nullptr,       nullptr,         kButtonMessages, true,  nullptr,               OptionCaptionRoom},
    {Role::kList,       L"ListBox",            ListStyle,               PaintList,       true,  &Look::list,   &Skin::listText, kListMessages,   false, &Skin::listBackground, nullptr},
    {Role::kText,       L"Edit",               AnyStyle,                nullptr,         false, &Look::text,   &Skin::textText, {},              false, &Skin::textBackground, nullptr},
    {Role::kStatus,     L"msctls_statusbar32", AnyStyle,                PaintStatus,     true,  &Look::status, nullptr,         {},              false, nullptr,               nullptr},
};
// clang-format on

}  // namespace

const Kind* KindOf(Role role) {
  for (const Kind& kind : kKinds)
    if (kind.role == role) return &kind;
  return nullptr;
}

Role RoleOf(HWND window, LONG style) {
  const std::wstring name = ClassName(window);
  if (::lstrcmpiW(name.c_str(), L"#32770") == 0) return Role::kDialog;
  bool knownClass = false;
  for (const Kind& kind : kKinds) {
    if (::lstrcmpiW(name.c_str(), kind.className) != 0) continue;
    if (kind.styleMatches(style)) return kind.role;
    knownClass = true;
  }
  if (knownClass) return Role::kNone;
  return (style & WS_CHILD) ? Role::kNone : Role::kForm;
}

void Paint(HWND window, const Kind& kind, Role parent, HDC target, const Look& look) {
  if (!kind.paint) return;
  RECT client;
  ::GetClientRect(window, &client);
  std::optional<Buffered> buffer;
  if (kind.offScreen) buffer.emplace(target, client);
  HDC dc = buffer ? buffer->get() : target;
  const Brush& background = kind.background           ? look.*kind.background
                            : parent == Role::kDialog ? look.message
                                                      : look.window;
  ::FillRect(dc, &client, background.get());
  Select font(dc, FontOf(window));
  ::SetBkMode(dc, TRANSPARENT);
  kind.paint({window, dc, client, background.get(), look, look.skin,
              MetricsAt(::GetDeviceCaps(dc, LOGPIXELSY))});
}

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

}  // namespace skin
