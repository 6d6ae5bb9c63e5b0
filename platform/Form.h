#pragma once
// The windowing layer: a fixed-size top-level window built from a layout (Layout.h), which
// creates the standard controls in it and keeps them working from the keyboard as in a dialog
// (DialogKeys.h). The wrappers that name the controls are in Controls.h.
#include <windows.h>

#include <vector>

#include "base/Handles.h"
#include "platform/Layout.h"

namespace platform {

// Why a close was requested, as the closing handler is told.
inline constexpr int kUnloadFormControlMenu = 0;  // the close box, Alt+F4, a WM_CLOSE
inline constexpr int kUnloadAppWindows = 2;       // Windows is ending the session
// Windows' Restart Manager closes this one program (for an installer, say); the session goes on.
inline constexpr int kUnloadAppTaskManager = 3;

// What a click on a control runs: one of the program's handlers, on the object it belongs to.
// The form calls it straight from the window procedure.
class OnClick {
 public:
  template <auto Handler, class Object>
  static OnClick Of(Object* object) noexcept {
    return OnClick(object, [](void* self) { (static_cast<Object*>(self)->*Handler)(); });
  }
  OnClick() = default;  // nothing: a control its clicks do nothing for
  explicit operator bool() const noexcept { return run_ != nullptr; }
  void operator()() const { run_(object_); }

 private:
  OnClick(void* object, void (*run)(void*)) noexcept : object_(object), run_(run) {}
  void* object_ = nullptr;
  void (*run_)(void*) = nullptr;
};

// What the window reports to the program, beside clicks (OnClick). Each call runs on the
// user-interface thread.
class FormEvents {
 public:
  virtual void OnLoad() = 0;
  // A close was requested (the close box, Alt+F4, the system menu, a WM_CLOSE): the program
  // either ends inside, never returning, or keeps the window as it was.
  virtual void OnCloseRequested() = 0;
  // Windows ends the session now (kUnloadAppWindows), or its Restart Manager closes this
  // program while the session goes on (kUnloadAppTaskManager): the program ends inside, asking
  // nothing.
  virtual void OnEndSession(int unloadMode) = 0;
  // The program is about to end through a run-time error: the last chance to put back what
  // must not stay undone. Runs once; whatever it tries may fail, quietly.
  virtual void OnRuntimeErrorEnding() noexcept = 0;

 protected:
  ~FormEvents() = default;
};

// A control Windows cannot name from a caption or a label of its own (a list or text box in a
// frame), and the name it is to have: the caption of the frame around it.
struct UnlabelledControl {
  HWND control;
  const wchar_t* name;
};

int SystemDpi();

class Form {
 public:
  Form(const FormLayout& layout, FormEvents& events);
  ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  HWND handle() const { return window_.get(); }
  // The control at `index` of the layout, or a RuntimeError if the layout has no such row.
  HWND Child(int index) const;
  // What a click on the control at `index` runs, from now on.
  void SetOnClick(int index, OnClick onClick);
  const std::vector<UnlabelledControl>& UnlabelledControls() const { return unlabelled_; }

  // Runs the start-up step inside the window's message boundary, so that a failure in it
  // takes the same run-time error path as one in a click handler.
  void Load();
  // Centres the window on the screen at its laid-out client size and shows it with the focus
  // on the first control that takes it.
  void Show();
  // Serves the window until it is destroyed.
  int RunMessageLoop();

  // The style word, read and written through the ANSI calls.
  LONG Style() const;
  void SetStyle(LONG style);

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static void LastWords(void* self) noexcept;
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  // The messages that take more than a line.
  void OnActivate(WPARAM wParam);
  void CreateControls();
  HWND CreateControl(const ControlLayout& row, const RECT& place);
  void PlaceCentred(int clientWidth, int clientHeight);
  // What a click that WM_COMMAND reports runs; none for a click the window does not take.
  const OnClick* ClickFrom(WPARAM wParam, LPARAM lParam) const;
  void MoveGroupTabStop(size_t selected) const;

  const FormLayout& layout_;
  FormEvents& events_;
  int dpi_;
  base::UniqueGdiObject font_;
  base::UniqueIcon bigIcon_, smallIcon_;
  base::UniqueWindow window_;
  std::vector<HWND> children_;    // parallel to layout_.controls
  std::vector<OnClick> onClick_;  // likewise
  std::vector<UnlabelledControl> unlabelled_;
  HWND statusBar_ = nullptr;
  int clockPanel_ = -1;
  HWND lastFocus_ = nullptr;
  bool ending_ = false;  // a run-time error is on its way to ending the program
};

}  // namespace platform
