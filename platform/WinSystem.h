#pragma once
// The System the program runs on: every call goes to Windows itself.
#include "base/Handles.h"
#include "platform/Launch.h"
#include "platform/System.h"

struct IAccPropServices;

namespace platform {

class WinSystem final : public System {
 public:
  WinSystem();
  ~WinSystem() override;

  // The window that owns message boxes and the clipboard and whose controls the pump hands
  // to the dialog manager.
  void SetMainWindow(HWND window) { mainWindow_ = window; }

  HANDLE CreateToolhelp32Snapshot(DWORD flags, DWORD processId) override;
  BOOL Process32First(HANDLE snapshot, ProcessEntry* entry) override;
  BOOL Process32Next(HANDLE snapshot, ProcessEntry* entry) override;
  HANDLE OpenProcess(DWORD access, BOOL inherit, DWORD processId) override;
  BOOL TerminateProcess(HANDLE process, UINT exitCode) override;
  BOOL CloseHandle(HANDLE handle) override;

  void Launch(const std::wstring& commandLine, int showState) override;
  void ClearClipboard() override;
  int ShowMessageBox(const std::wstring& text, const std::wstring& title, unsigned style) override;

  std::int32_t TimeGetTime() override;
  void PumpEvents() override;
  void WaitForEvents(std::uint32_t milliseconds) override;
  std::wstring TimeOfDayText() override;

  std::wstring ProgramFolder() override;
  void AttachSkin(const std::string& skinPath, const std::string& reserved) override;

  void NameForScreenReaders(HWND control, const std::wstring& name) override;
  void ForgetScreenReaderNames(HWND control) override;

  [[noreturn]] void EndProgram() override;

 private:
  HWND mainWindow_ = nullptr;
  LaunchFolders folders_;
  base::UniqueModule skinLibrary_;   // stays loaded for the life of the program: it draws the look
  base::UniqueModule timerLibrary_;  // winmm, loaded when the first pause reads the clock
  DWORD(WINAPI* timeGetTime_)() = nullptr;
  base::UniqueCom<IAccPropServices> annotations_;  // made with the first name given
};

// Loads a library by its full path in the system folder: for the libraries that are no known
// system library (winmm, oleacc), whose name alone could find a planted copy elsewhere.
HMODULE LoadSystemLibrary(const wchar_t* name);

// Makes every library the program or Windows loads by name from now on come from the system
// folder only, never the current folder or the program's own (a downloads folder, or the stick
// being ejected, may hold a planted copy). Call first thing, before anything loads a library.
void LoadLibrariesFromSystemFolderOnly();

// Makes the system folder the current one. The folder the program was started from stays open
// for as long as it is current: started from a console or a shortcut on the stick, the program
// would hold the very stick it is there to free. Call first thing.
void LeaveStartFolder();

// The folder part of a module path as the program reports its own folder: no closing
// backslash, except at a drive's root ("C:\").
std::wstring FolderOfPath(const std::wstring& modulePath);

}  // namespace platform
