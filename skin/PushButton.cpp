#include <string>

#include "skin/Kinds.h"

namespace skin {

void PaintPushButton(const Canvas& c) {
  const Skin& s = c.skin;
  const Metrics& m = c.metrics;
  const LRESULT state = ::SendMessageW(c.window, BM_GETSTATE, 0, 0);
  const bool enabled = ::IsWindowEnabled(c.window);
  const bool pushed = (state & BST_PUSHED) != 0;
  const bool focused = ::GetFocus() == c.window && FocusCuesShown(c.window);
  const Color face = !enabled        ? s.buttonDisabled
                     : pushed        ? s.buttonPressed
                     : Hot(c.window) ? s.buttonHot
                                     : s.buttonFace;
  RoundedBox(c.dc, c.client, Ref(face), Ref(focused && enabled ? s.buttonFocus : s.buttonBorder),
             m.buttonRadius, m.line);
  if (focused && enabled) {  // a second ring inside the first: the focus reads at a glance
    RECT inner = c.client;
    ::InflateRect(&inner, -m.line, -m.line);
    DrawShape(c.dc, Shape::kRounded, inner, nullptr, Ref(s.buttonFocus), m.buttonRadius, m.line);
  }
  ::SetTextColor(c.dc, Ref(enabled ? s.buttonText : s.buttonDisabledText));
  RECT text = c.client;
  if (pushed) ::OffsetRect(&text, 0, 1);
  const std::wstring caption = TextOf(c.window);
  // Message box buttons carry access keys ("是(&Y)"): underline them as Windows would, and
  // only while the keyboard cues are showing.
  const bool hideCues = ::SendMessageW(c.window, WM_QUERYUISTATE, 0, 0) & UISF_HIDEACCEL;
  ::DrawTextW(c.dc, caption.c_str(), static_cast<int>(caption.size()), &text,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | (hideCues ? DT_HIDEPREFIX : 0));
}

// Inside the outline, clear of its rounded corners.
SIZE PushButtonCaptionRoom(SIZE client, const TEXTMETRICW&, const Metrics& m) {
  return {client.cx - 2 * (m.line + m.buttonRadius / 2), client.cy - 2 * m.line};
}

}  // namespace skin
