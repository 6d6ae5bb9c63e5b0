#pragma once
// Drives the real program from outside: starts it in a folder of its own, finds its windows,
// and reads what they show the way another program on the desktop would.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "ThisProgram.h"
#include "base/Handles.h"
#include "ui/Layout.h"

namespace e2e {

using namespace std::chrono_literals;

// The window's tab stops in order, as a user meets them in the program's layout: every button,
// the log and the help text, and each group of options as one stop, at its first while none is
// selected. Frames and the status bar take no focus.
inline std::vector<int> TabStops() {
  using K = platform::ControlKind;
  std::vector<int> stops;
  for (const platform::ControlLayout& row : ui::kControls) {
    const bool firstOption =
        row.kind == K::Option && (row.index == 0 || ui::kControls[row.index - 1].kind != K::Option);
    if (row.kind == K::Button || row.kind == K::ListBox || row.kind == K::TextBox || firstOption)
      stops.push_back(row.index);
  }
  return stops;
}

// The keys that move the focus from the tab stop `from` to `to` the shorter way round.
inline std::string TabKeys(int from, int to) {
  const std::vector<int> stops = TabStops();
  const auto place = [&](int c) {
    return std::find(stops.begin(), stops.end(), c) - stops.begin();
  };
  const auto count = std::ssize(stops), forward = (place(to) + count - place(from)) % count;
  std::string keys;
  for (auto i = std::min(forward, count - forward); i > 0; --i)
    keys += std::string(keys.empty() ? "" : " ") + (forward <= count / 2 ? "Tab" : "shift+Tab");
  return keys;
}

// The folder this test program runs from, and the installed program beside the build.
std::wstring TestBinFolder();
std::wstring StageFolder();
// A new, empty folder under the temporary folder.
std::wstring FreshFolder(const std::wstring& name);
void CopyFileOrFail(const std::wstring& from, const std::wstring& to);
// A folder holding the installed program's three files, for tests that change the folder.
std::wstring StagedCopy(const std::wstring& name);

using support::MayEndSystemProcesses;

class Process {
 public:
  Process() = default;
  // Starts `program` with `arguments`, in `folder` (its own folder when empty).
  Process(const std::wstring& program, const std::wstring& arguments = L"",
          const std::wstring& folder = L"");
  Process(Process&&) = default;
  ~Process();
  DWORD id() const { return id_; }
  HANDLE handle() const { return process_.get(); }
  bool Running() const;
  // Waits for the process to end and returns its exit code, or STILL_ACTIVE on time-out.
  DWORD WaitForExit(std::chrono::milliseconds timeout);
  void Kill();

 private:
  base::UniqueHandle process_;
  DWORD id_ = 0;
};

// A top-level window of process `pid` of the given class that is visible (or any, when
// visibleOnly is false), waited for up to `timeout`. Null when none came.
HWND WaitForWindow(DWORD pid, const wchar_t* windowClass, std::chrono::milliseconds timeout,
                   bool visibleOnly = true);
HWND FindWindowOf(DWORD pid, const wchar_t* windowClass, bool visibleOnly = true);

std::wstring WindowText(HWND window);
std::wstring ClassOf(HWND window);
// The child's rectangle in its parent's client coordinates.
RECT RectInParent(HWND child);
// Text of a status bar panel (0-based) in another process, read through a buffer in it.
std::wstring StatusPanelText(HWND statusBar, int panel);
std::wstring ListItem(HWND list, int index);
// The static text of a message box.
std::wstring MessageBoxText(HWND box);

// Ids of the running processes whose image name equals `name` (case ignored).
std::vector<DWORD> ProcessesNamed(const std::wstring& name);
// Ends them and waits until they are gone.
void EndAll(const std::wstring& name);

// Polls `condition` until it holds or `timeout` passes; returns its last value.
template <class Condition>
bool WaitUntil(Condition condition, std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > end) return false;
    ::Sleep(50);
  }
  return true;
}

// Presses keys as a person does, through the X server ("Tab", "shift+Tab", "Return"): runs
// xdotool, which Wine starts as the Linux program it is. False where there is no such thing.
bool PressKeys(const std::string& keys);
// Holds `key` down for `held` (long enough, and the key repeats), then lets it go.
bool HoldKey(const std::string& key, std::chrono::milliseconds held);

// The running program, started from a folder, with its main window found.
class Plindar {
 public:
  explicit Plindar(const std::wstring& folder = StageFolder(),
                   const std::wstring& workingFolder = L"");
  HWND window() const { return window_; }
  HWND Control(int index) const;  // by its place in the layout (ui::ctl)
  Process& process() { return process_; }
  DWORD threadId() const;
  // Clicks a control as the user would, through the window's own message queue.
  void Click(int index) const;
  // The control with the keyboard focus, by its place in the layout; -1 for none of them.
  int FocusedControl() const;

 private:
  Process process_;
  HWND window_ = nullptr;
};

}  // namespace e2e
