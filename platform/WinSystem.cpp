#include "platform/WinSystem.h"

#include <initguid.h>  // the ids of the annotation service, defined here
#include <oleacc.h>

#include <vector>

#include "platform/DialogKeys.h"
#include "platform/RuntimeError.h"

namespace platform {
namespace {

std::wstring WindowsFolder() {
  wchar_t path[MAX_PATH] = L"";
  const UINT length = ::GetSystemWindowsDirectoryW(path, MAX_PATH);
  return length > 0 && length < MAX_PATH ? std::wstring(path, length) : L"C:\\Windows";
}

std::wstring SystemFolder() {
  wchar_t path[MAX_PATH] = L"";
  const UINT length = ::GetSystemDirectoryW(path, MAX_PATH);
  return length > 0 && length < MAX_PATH ? std::wstring(path, length) : L"C:\\Windows\\System32";
}

bool IsWow64() {
  // Looked up at run time: the call is missing from the oldest 32-bit systems.
  using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
  auto isWow64Process = reinterpret_cast<IsWow64ProcessFn>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "IsWow64Process")));
  BOOL wow64 = FALSE;
  return isWow64Process && isWow64Process(::GetCurrentProcess(), &wow64) && wow64;
}

// SetDefaultDllDirectories, and with it the LOAD_LIBRARY_SEARCH_* flags: Windows 8 and later,
// and Windows 7 with its security updates. Looked up, not imported, so the program still
// starts on a Windows 7 without them; null there.
using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
SetDefaultDllDirectoriesFn SetDefaultDllDirectoriesCall() {
  static const auto call = reinterpret_cast<SetDefaultDllDirectoriesFn>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
  return call;
}

}  // namespace

HMODULE LoadSystemLibrary(const wchar_t* name) {
  return ::LoadLibraryW((SystemFolder() + L"\\" + name).c_str());
}

void LoadLibrariesFromSystemFolderOnly() {
  const SetDefaultDllDirectoriesFn setDefault = SetDefaultDllDirectoriesCall();
  if (setDefault && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32)) return;
  // Without it, at least the current folder leaves the search.
  ::SetDllDirectoryW(L"");
}

void LeaveStartFolder() { ::SetCurrentDirectoryW(SystemFolder().c_str()); }

std::wstring FolderOfPath(const std::wstring& modulePath) {
  const size_t slash = modulePath.find_last_of(L"\\/");
  if (slash == std::wstring::npos) return modulePath;
  std::wstring folder = modulePath.substr(0, slash);
  if (folder.size() == 2 && folder[1] == L':') folder += L'\\';
  return folder;
}

WinSystem::WinSystem() : folders_{WindowsFolder(), SystemFolder(), IsWow64()} {}
WinSystem::~WinSystem() = default;

HANDLE WinSystem::CreateToolhelp32Snapshot(DWORD flags, DWORD processId) {
  return ::CreateToolhelp32Snapshot(flags, processId);
}
BOOL WinSystem::Process32First(HANDLE snapshot, ProcessEntry* entry) {
  return ::Process32First(snapshot, entry);
}
BOOL WinSystem::Process32Next(HANDLE snapshot, ProcessEntry* entry) {
  return ::Process32Next(snapshot, entry);
}
HANDLE WinSystem::OpenProcess(DWORD access, BOOL inherit, DWORD processId) {
  return ::OpenProcess(access, inherit, processId);
}
BOOL WinSystem::TerminateProcess(HANDLE process, UINT exitCode) {
  return ::TerminateProcess(process, exitCode);
}
BOOL WinSystem::CloseHandle(HANDLE handle) { return ::CloseHandle(handle); }

void WinSystem::Launch(const std::wstring& commandLine, int showState) {
  const std::wstring program = ResolveLaunchProgram(commandLine, folders_);
  std::vector<wchar_t> arguments(commandLine.begin(), commandLine.end());
  arguments.push_back(L'\0');
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(showState);
  PROCESS_INFORMATION started{};
  // Started in the system folder, so that nothing the started program loads by name can come
  // from the folder the user happened to be in (the stick itself, often).
  if (!::CreateProcessW(program.c_str(), arguments.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folders_.system.c_str(), &startup, &started)) {
    const DWORD failure = ::GetLastError();
    const std::wstring first = commandLine.substr(0, commandLine.find(L' '));
    if (failure == ERROR_FILE_NOT_FOUND || failure == ERROR_PATH_NOT_FOUND)
      throw RuntimeError(ErrorKind::kFileNotFound, first);
    throw RuntimeError(ErrorKind::kInvalidCall);
  }
  base::UniqueHandle process(started.hProcess);
  base::UniqueHandle thread(started.hThread);
}

void WinSystem::ClearClipboard() {
  // Clipboard viewers and managers hold the clipboard open for a moment at a time; give them
  // a few short chances before calling it a failure.
  for (int attempt = 0; attempt < 10; ++attempt) {
    if (::OpenClipboard(mainWindow_)) {
      ::EmptyClipboard();
      ::CloseClipboard();
      return;
    }
    ::Sleep(20);
  }
  throw RuntimeError(ErrorKind::kClipboard);
}

int WinSystem::ShowMessageBox(const std::wstring& text, const std::wstring& title, unsigned style) {
  return ::MessageBoxW(mainWindow_, text.c_str(), title.c_str(), style);
}

std::int32_t WinSystem::TimeGetTime() {
  if (!timeGetTime_) {
    // By its full path: winmm is no known system library, and a copy beside the program would
    // otherwise be loaded in its place.
    timerLibrary_.reset(LoadSystemLibrary(L"winmm.dll"));
    if (!timerLibrary_) throw RuntimeError(ErrorKind::kDllLoad, L"winmm.dll");
    timeGetTime_ = reinterpret_cast<DWORD(WINAPI*)()>(
        reinterpret_cast<void*>(::GetProcAddress(timerLibrary_.get(), "timeGetTime")));
    if (!timeGetTime_) throw MissingEntry(L"timeGetTime", L"winmm.dll");
  }
  return static_cast<std::int32_t>(timeGetTime_());
}

void WinSystem::PumpEvents() {
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      // Not ours to consume: the main loop must still see it once the wait returns.
      ::PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    DispatchOne(mainWindow_, message);
  }
}

void WinSystem::WaitForEvents(std::uint32_t milliseconds) {
  ::MsgWaitForMultipleObjectsEx(0, nullptr, milliseconds, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

std::wstring WinSystem::TimeOfDayText() {
  wchar_t text[64] = L"";
  ::GetTimeFormatW(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, text, 64);
  return text;
}

std::wstring WinSystem::ProgramFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) throw RuntimeError(ErrorKind::kInvalidCall);
    if (length < path.size()) {
      path.resize(length);
      return FolderOfPath(path);
    }
    path.resize(path.size() * 2);  // a long path: try again with room for it
  }
}

void WinSystem::AttachSkin(const std::string& skinPath, const std::string& reserved) {
  constexpr wchar_t kLibrary[] = L"SkinH_VB6.dll";
  if (!skinLibrary_) {
    // From the program's folder or the system folder, nowhere else.
    skinLibrary_.reset(
        SetDefaultDllDirectoriesCall()
            ? ::LoadLibraryExW(kLibrary, nullptr,
                               LOAD_LIBRARY_SEARCH_APPLICATION_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32)
            : ::LoadLibraryW(kLibrary));
    if (!skinLibrary_) {
      const DWORD failure = ::GetLastError();
      if (failure == ERROR_MOD_NOT_FOUND || failure == ERROR_FILE_NOT_FOUND)
        throw RuntimeError(ErrorKind::kFileNotFound, kLibrary);
      throw RuntimeError(ErrorKind::kDllLoad, kLibrary);
    }
  }
  using AttachFn = int(__stdcall*)(const char*, const char*);
  auto attach = reinterpret_cast<AttachFn>(
      reinterpret_cast<void*>(::GetProcAddress(skinLibrary_.get(), "SkinH_AttachEx")));
  if (!attach) throw MissingEntry(L"SkinH_AttachEx", kLibrary);
  attach(skinPath.c_str(), reserved.c_str());
}

void WinSystem::NameForScreenReaders(HWND control, const std::wstring& name) {
  // Windows' documented way to name a standard control: an annotation on the control's own
  // object, which Windows keeps and hands to every screen reader that asks. Nothing is made
  // per request, and every other answer (a text box's text for Narrator, say) stays Windows'.
  if (!annotations_) {
    // The user-interface thread joins COM's single-threaded apartment, as a window's thread does;
    // it never leaves it: the program ends with it.
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IAccPropServices* services = nullptr;
    if (FAILED(::CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IAccPropServices, reinterpret_cast<void**>(&services))))
      return;
    annotations_.reset(services);
  }
  // Refused where Windows keeps no annotations (Wine, for one): the control keeps the name
  // Windows gives it.
  annotations_.get()->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                     PROPID_ACC_NAME, name.c_str());
}

void WinSystem::ForgetScreenReaderNames(HWND control) {
  if (!annotations_) return;
  MSAAPROPID name = PROPID_ACC_NAME;
  annotations_.get()->ClearHwndProps(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, &name,
                                     1);
}

void WinSystem::EndProgram() { ::ExitProcess(0); }

}  // namespace platform
