#pragma once
// The windowing layer: a fixed-size top-level window built from a layout table, which creates
// the standard controls in it and keeps them working from the keyboard as in a dialog. The
// wrappers that name the controls are in Controls.h.
#include <windows.h>

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/Handles.h"

namespace platform {

enum class ControlKind { Frame, Button, Option, TextBox, ListBox, StatusBar };

// One row of a layout: positions and sizes in twips, relative to the container's top-left
// corner (the client area, or a frame's outer corner).
struct ControlLayout {
  std::string_view name;
  ControlKind kind;
  std::string_view container;  // "" for the window itself
  const wchar_t* caption;
  int left, top, width, height;
};

enum class PanelKind { Text, Stretch, Clock };

struct PanelLayout {
  PanelKind kind;
  int width;  // twips; ignored for the stretching panel, which takes what the others leave
  const wchar_t* text;
};

struct FormLayout {
  const wchar_t* caption;
  int clientWidth, clientHeight;  // twips
  int iconResource;
  std::span<const ControlLayout> controls;  // in tab order
  std::span<const PanelLayout> panels;      // of the one status bar
};

// Why a close was requested, as the closing handler is told.
inline constexpr int kUnloadFormControlMenu = 0;  // the close box, Alt+F4, a WM_CLOSE
inline constexpr int kUnloadAppWindows = 2;       // Windows is ending the session
// Windows' Restart Manager closes this one program (for an installer, say); the session goes on.
inline constexpr int kUnloadAppTaskManager = 3;
// Whether Windows itself asked, and so says afterwards when the program ends (WM_ENDSESSION).
inline constexpr bool AskedByWindows(int unloadMode) {
  return unloadMode == kUnloadAppWindows || unloadMode == kUnloadAppTaskManager;
}

// What the window reports to the program. Each call runs on the user-interface thread.
class FormEvents {
 public:
  virtual void OnLoad() = 0;
  virtual void OnClick(int controlId) = 0;
  // A close was requested for `unloadMode`. Returns true to refuse it. For Windows' own
  // requests (kUnloadAppWindows, kUnloadAppTaskManager) the program does not end here: Windows
  // says when (OnEndSession).
  virtual bool OnQueryUnload(int unloadMode) = 0;
  // Windows' word after such a request: the session ends now (true), or goes on (false: the
  // end was cancelled, or only this program was to close).
  virtual void OnEndSession(bool sessionEnds) = 0;
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

int TwipsToPixels(int twips, int dpi);
int SystemDpi();

class Form {
 public:
  Form(const FormLayout& layout, FormEvents& events);
  ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  HWND handle() const { return window_.get(); }
  // The child window of a layout row, or a RuntimeError if the layout has no such name.
  HWND Child(std::string_view name) const;

  // Runs the start-up step inside the window's message boundary, so that a failure in it
  // takes the same run-time error path as one in a click handler.
  void Load();
  // Centres the window on the screen at its laid-out client size and shows it with the focus
  // on the first control that takes it.
  void Show();
  // Serves the window until it is destroyed.
  int RunMessageLoop();

  const std::vector<UnlabelledControl>& UnlabelledControls() const { return unlabelled_; }

  // The style word, read and written through the ANSI calls.
  LONG Style() const;
  void SetStyle(LONG style);

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static void LastWords(void* self) noexcept;
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void CreateControls();
  void SetUpStatusBar(HWND statusBar);
  void RefreshClock();
  bool TakesClickFrom(HWND control, int id) const;
  void MoveGroupTabStop(size_t selected) const;

  const FormLayout& layout_;
  FormEvents& events_;
  int dpi_;
  base::UniqueGdiObject font_;
  base::UniqueIcon bigIcon_, smallIcon_;
  base::UniqueWindow window_;
  std::vector<HWND> children_;  // parallel to layout_.controls
  std::vector<UnlabelledControl> unlabelled_;
  HWND statusBar_ = nullptr;
  int clockPanel_ = -1;
  HWND lastFocus_ = nullptr;
  bool ending_ = false;  // a run-time error is on its way to ending the program
};

// Hands one message to the dialog manager (Tab, arrows, Esc among the controls) or to its
// window. Shared by the main loop and by every pump that runs inside a wait.
void DispatchOne(HWND dialogWindow, MSG& message);

}  // namespace platform
