#pragma once
// The seam through which the program reaches the running system: processes, launches,
// the clipboard, message boxes, the clock, the event pump, the skin library and the end of
// the program. The window and its controls are real windows everywhere; everything that acts
// on the rest of the machine, or that waits, goes through here, so the handlers' sequences can
// be driven with a fake clock and a recording fake in tests and for real in the program.
#include <windows.h>
#include <tlhelp32.h>

#include <cstdint>
#include <string>

#include "base/Handles.h"

namespace platform {

// The ANSI process-entry record: nine fields and a 260-byte name, 296 bytes in the shipped
// 32-bit build; the heap id is pointer-sized, so a 64-bit build's record is 304 bytes.
using ProcessEntry = tagPROCESSENTRY32;  // the ANSI record, whatever UNICODE says
inline constexpr DWORD kProcessEntrySize = sizeof(void*) == 4 ? 296 : 304;
static_assert(sizeof(ProcessEntry) == kProcessEntrySize,
              "the toolhelp walk relies on the ANSI record of this architecture");
static_assert(sizeof(ProcessEntry::szExeFile) == MAX_PATH);

// Show states for launched command lines: the safe-removal dialog comes up as any window does;
// the shell and the web pages start minimised, keeping this window in front.
inline constexpr int kShowNormal = SW_SHOWNORMAL;
inline constexpr int kShowMinimized = SW_SHOWMINIMIZED;

// Message box answers; Esc and the box's close button answer Cancel.
inline constexpr int kAnswerYes = IDYES;
inline constexpr int kAnswerNo = IDNO;
inline constexpr int kAnswerCancel = IDCANCEL;

class System {
 public:
  virtual ~System() = default;

  // The toolhelp walk and the ending of a process, with the ANSI record. Results are passed on
  // as Windows gives them; the caller decides what to look at.
  virtual HANDLE CreateToolhelp32Snapshot(DWORD flags, DWORD processId) = 0;
  virtual BOOL Process32First(HANDLE snapshot, ProcessEntry* entry) = 0;
  virtual BOOL Process32Next(HANDLE snapshot, ProcessEntry* entry) = 0;
  virtual HANDLE OpenProcess(DWORD access, BOOL inherit, DWORD processId) = 0;
  virtual BOOL TerminateProcess(HANDLE process, UINT exitCode) = 0;
  virtual BOOL CloseHandle(HANDLE handle) = 0;

  // Starts a command line with a show state and does not wait for it. A command line that
  // cannot be started throws RuntimeError.
  virtual void Launch(const std::wstring& commandLine, int showState) = 0;
  // Empties the clipboard; throws RuntimeError when the clipboard cannot be opened.
  virtual void ClearClipboard() = 0;
  // A modal message box over the main window; returns the button pressed (IDYES, IDNO,
  // IDCANCEL, the last also for Esc and the box's close button).
  virtual int ShowMessageBox(const std::wstring& text, const std::wstring& title,
                             unsigned style) = 0;

  // Milliseconds since the system started, as the multimedia timer reads them.
  virtual std::int32_t TimeGetTime() = 0;
  // Serves every window event that is waiting, then returns without waiting for more.
  virtual void PumpEvents() = 0;
  // Blocks until a window event is waiting or `milliseconds` have passed, whichever is first.
  virtual void WaitForEvents(std::uint32_t milliseconds) = 0;
  // The current time of day in the user's time format, with seconds.
  virtual std::wstring TimeOfDayText() = 0;

  // The folder that holds the program file, without a closing backslash except at a drive's
  // root, where it is the drive and its backslash.
  virtual std::wstring ProgramFolder() = 0;
  // Loads the skin library by name and calls its attach entry with two ANSI texts. A missing
  // library or entry throws RuntimeError; the entry's own result is not the program's concern.
  virtual void AttachSkin(const std::string& skinPath, const std::string& reserved) = 0;

  // Gives `control` a name for screen readers; Windows' own description of it stays in place
  // for everything else. Where Windows offers no such thing, nothing happens.
  virtual void NameForScreenReaders(HWND control, const std::wstring& name) = 0;
  // Takes the names given back, before the controls go.
  virtual void ForgetScreenReaderNames(HWND control) = 0;

  // Ends the program at once: no further event handler runs.
  [[noreturn]] virtual void EndProgram() = 0;
};

// A handle that came from a System and goes back to the same System when its owner is done.
// `Kind` is the handle kind of base/Handles.h whose empty value the call returns on failure,
// so the type says it and no caller can pass the wrong one.
template <class Kind>
class SystemHandle {
 public:
  SystemHandle(System& system, HANDLE handle) noexcept : system_(&system), handle_(handle) {}
  SystemHandle(const SystemHandle&) = delete;
  SystemHandle& operator=(const SystemHandle&) = delete;
  ~SystemHandle() {
    if (*this) system_->CloseHandle(handle_);
  }

  HANDLE get() const noexcept { return handle_; }
  explicit operator bool() const noexcept { return handle_ != Kind::empty(); }

 private:
  System* system_;
  HANDLE handle_;
};
using SystemSnapshot = SystemHandle<base::FileHandleTraits>;  // CreateToolhelp32Snapshot
using SystemProcess = SystemHandle<base::NullIsEmpty<HANDLE, ::CloseHandle>>;  // OpenProcess

}  // namespace platform
