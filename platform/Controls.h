#pragma once
// Thin wrappers that name the standard controls of a Form by their layout row and offer the
// properties the handlers use. The window owns the controls; the wrappers only name them.
#include <windows.h>

#include <string>

#include "platform/Form.h"

namespace platform {

class Control {
 public:
  // The control at `index` of the form's layout.
  Control(const Form& form, int index) : window_(form.Child(index)) {}
  HWND handle() const { return window_; }
  int id() const;
  std::wstring Caption() const;
  void SetCaption(const std::wstring& caption);
  bool Enabled() const;
  void SetEnabled(bool enabled);

 protected:
  HWND window_;

 private:
  HWND focusHandedTo_ = nullptr;  // where switching this control off moved the focus
};

// The kinds a click does nothing for: declared with no handler.
class Frame : public Control {
  using Control::Control;
};
class TextBox : public Control {
  using Control::Control;
};

// The kinds a click acts on: declared with the handler their clicks run, and only so.
class Clickable : public Control {
 public:
  Clickable(Form& form, int index, OnClick onClick) : Control(form, index) {
    form.SetOnClick(index, onClick);
  }
};
class Button : public Clickable {
  using Clickable::Clickable;
};
class OptionButton : public Clickable {
  using Clickable::Clickable;
};

class ListBox : public Control {
 public:
  using Control::Control;
  void AddItem(const std::wstring& item);
  int ListCount() const;
  std::wstring List(int index) const;
  // Selecting a line in a single-selection list box also scrolls it into view.
  void SetSelected(int index, bool selected);
  bool Selected(int index) const;
};

class StatusBar : public Control {
 public:
  using Control::Control;
  // Panels are numbered from 1, left to right.
  void SetPanelText(int panel, const std::wstring& text);
  std::wstring PanelText(int panel) const;
};

}  // namespace platform
