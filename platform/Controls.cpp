#include "platform/Controls.h"

#include <commctrl.h>

#include "platform/RuntimeError.h"
#include "base/StatusText.h"
#include "base/Window.h"

namespace platform {

int Control::id() const { return ::GetDlgCtrlID(window_); }

std::wstring Control::Caption() const { return base::WindowText(window_); }

void Control::SetCaption(const std::wstring& caption) {
  if (!::SetWindowTextW(window_, caption.c_str())) throw RuntimeError(ErrorKind::kOutOfMemory);
}

bool Control::Enabled() const { return ::IsWindowEnabled(window_) != FALSE; }
void Control::SetEnabled(bool enabled) {
  // The focus never stays on a control that is switched off, or the keyboard would go dead:
  // it moves on to the next control in tab order that can take it, and comes back when the
  // control is switched on again, unless the user has moved it meanwhile.
  if (!enabled && ::GetFocus() == window_) {
    HWND next = ::GetNextDlgTabItem(::GetParent(window_), window_, FALSE);
    if (next && next != window_) {
      ::SetFocus(next);
      focusHandedTo_ = next;
    }
  }
  ::EnableWindow(window_, enabled ? TRUE : FALSE);
  if (enabled) {
    if (focusHandedTo_ && ::GetFocus() == focusHandedTo_) ::SetFocus(window_);
    focusHandedTo_ = nullptr;
  }
}

void ListBox::AddItem(const std::wstring& item) {
  const LRESULT index =
      ::SendMessageW(window_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
  if (index == LB_ERR || index == LB_ERRSPACE) throw RuntimeError(ErrorKind::kOutOfMemory);
}

int ListBox::ListCount() const {
  return static_cast<int>(::SendMessageW(window_, LB_GETCOUNT, 0, 0));
}

std::wstring ListBox::List(int index) const { return base::ListLine(window_, index); }

void ListBox::SetSelected(int index, bool selected) {
  if (::SendMessageW(window_, LB_SETCURSEL, selected ? index : -1, 0) == LB_ERR && selected)
    throw RuntimeError(ErrorKind::kInvalidCall);
}

bool ListBox::Selected(int index) const {
  return ::SendMessageW(window_, LB_GETCURSEL, 0, 0) == index;
}

void StatusBar::SetPanelText(int panel, const std::wstring& text) {
  ::SendMessageW(window_, SB_SETTEXTW, static_cast<WPARAM>(panel - 1),
                 reinterpret_cast<LPARAM>(text.c_str()));
}

std::wstring StatusBar::PanelText(int panel) const { return base::PartText(window_, panel - 1); }

}  // namespace platform
