#include "skin/Painters.h"

#include <string>

namespace skin {

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
  const Metrics m = MetricsAt(::GetDeviceCaps(dc, LOGPIXELSY));
  RoundedBox(dc, client, Ref(face), Ref(focused && enabled ? s.buttonFocus : s.buttonBorder),
             m.buttonRadius, m.line);
  if (focused && enabled) {  // a second ring inside the first: the focus reads at a glance
    RECT inner = client;
    ::InflateRect(&inner, -m.line, -m.line);
    DrawShape(dc, Shape::kRounded, inner, nullptr, Ref(s.buttonFocus), m.buttonRadius, m.line);
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

}  // namespace skin
