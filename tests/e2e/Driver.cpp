#include "Driver.h"

#include <windows.h>
#include <commctrl.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "base/Text.h"
#include "platform/Layout.h"
#include "ThisProgram.h"
#include "TopLevelWindow.h"

namespace e2e {

std::wstring TestBinFolder() { return support::ThisProgramsFolder(); }

std::wstring StageFolder() { return support::StageFolder(); }

std::wstring FreshFolder(const std::wstring& name) {
  wchar_t temp[MAX_PATH];
  ::GetTempPathW(MAX_PATH, temp);
  const std::wstring folder =
      std::wstring(temp) + L"plindar-e2e-" + std::to_wstring(::GetCurrentProcessId()) + L"-" + name;
  ::CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

void CopyFileOrFail(const std::wstring& from, const std::wstring& to) {
  if (!::CopyFileW(from.c_str(), to.c_str(), FALSE))
    ADD_FAILURE() << "cannot copy " << base::WideToUtf8(from) << " to " << base::WideToUtf8(to)
                  << ": error " << ::GetLastError();
}

std::wstring StagedCopy(const std::wstring& name) {
  const std::wstring folder = FreshFolder(name);
  for (const wchar_t* file : {L"Plindar.exe", L"SkinH_VB6.dll", L"skinh.she"})
    CopyFileOrFail(StageFolder() + L"\\" + file, folder + L"\\" + file);
  return folder;
}

Process::Process(const std::wstring& program, const std::wstring& arguments,
                 const std::wstring& folder) {
  std::wstring commandLine = L"\"" + program + L"\"";
  if (!arguments.empty()) commandLine += L" " + arguments;
  std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
  line.push_back(L'\0');
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  if (!::CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &info)) {
    ADD_FAILURE() << "cannot start " << base::WideToUtf8(program) << ": error " << ::GetLastError();
    return;
  }
  process_.reset(info.hProcess);
  base::UniqueHandle thread(info.hThread);
  id_ = info.dwProcessId;
}

Process::~Process() { Kill(); }

bool Process::Running() const {
  return process_ && ::WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
}

DWORD Process::WaitForExit(std::chrono::milliseconds timeout) {
  if (!process_) return STILL_ACTIVE;
  ::WaitForSingleObject(process_.get(), static_cast<DWORD>(timeout.count()));
  DWORD code = STILL_ACTIVE;
  ::GetExitCodeProcess(process_.get(), &code);
  return code;
}

void Process::Kill() {
  if (Running()) {
    ::TerminateProcess(process_.get(), 1);
    ::WaitForSingleObject(process_.get(), 5000);
  }
}

HWND FindWindowOf(DWORD pid, const wchar_t* windowClass, bool visibleOnly) {
  return support::TopLevelWindowOf(pid, windowClass, visibleOnly);
}

HWND WaitForWindow(DWORD pid, const wchar_t* windowClass, std::chrono::milliseconds timeout,
                   bool visibleOnly) {
  HWND found = nullptr;
  WaitUntil([&] { return (found = FindWindowOf(pid, windowClass, visibleOnly)) != nullptr; },
            timeout);
  return found;
}

std::wstring WindowText(HWND window) {
  wchar_t text[4096] = L"";
  // WM_GETTEXT is carried across processes by the system; GetWindowText would not ask.
  ::SendMessageTimeoutW(window, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text), SMTO_BLOCK, 5000,
                        nullptr);
  return text;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[256] = L"";
  ::GetClassNameW(window, name, 256);
  return name;
}

RECT RectInParent(HWND child) {
  RECT r{};
  ::GetWindowRect(child, &r);
  ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

namespace {

// A buffer in the process that owns `window`, for the messages the system does not carry
// across processes (a status bar's).
class RemoteBuffer {
 public:
  RemoteBuffer(HWND window, SIZE_T bytes) : bytes_(bytes) {
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    process_.reset(::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ, FALSE, pid));
    if (process_)
      address_ = ::VirtualAllocEx(process_.get(), nullptr, bytes, MEM_COMMIT, PAGE_READWRITE);
    if (!address_)
      ADD_FAILURE() << "cannot make a buffer in the program: error " << ::GetLastError();
  }
  ~RemoteBuffer() {
    if (address_) ::VirtualFreeEx(process_.get(), address_, 0, MEM_RELEASE);
  }
  LPARAM address() const { return reinterpret_cast<LPARAM>(address_); }
  void Read(void* data, SIZE_T bytes) const {
    if (address_)
      ::ReadProcessMemory(process_.get(), address_, data, std::min(bytes, bytes_), nullptr);
  }

 private:
  base::UniqueHandle process_;
  void* address_ = nullptr;
  SIZE_T bytes_;
};

}  // namespace

std::wstring StatusPanelText(HWND statusBar, int panel) {
  DWORD_PTR length = 0;
  ::SendMessageTimeoutW(statusBar, SB_GETTEXTLENGTHW, static_cast<WPARAM>(panel), 0, SMTO_BLOCK,
                        5000, &length);
  std::wstring text(LOWORD(length) + 1, L'\0');
  RemoteBuffer buffer(statusBar, text.size() * sizeof(wchar_t));
  ::SendMessageTimeoutW(statusBar, SB_GETTEXTW, static_cast<WPARAM>(panel), buffer.address(),
                        SMTO_BLOCK, 5000, nullptr);
  buffer.Read(text.data(), text.size() * sizeof(wchar_t));
  text.resize(LOWORD(length));
  return text;
}

std::wstring ListItem(HWND list, int index) {
  // LB_GETTEXT takes no size: the buffer is as long as the line says it is.
  DWORD_PTR length = 0;
  if (!::SendMessageTimeoutW(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0, SMTO_BLOCK, 5000,
                             &length) ||
      static_cast<LRESULT>(length) == LB_ERR)
    return L"";
  std::wstring text(length + 1, L'\0');
  ::SendMessageTimeoutW(list, LB_GETTEXT, static_cast<WPARAM>(index),
                        reinterpret_cast<LPARAM>(text.data()), SMTO_BLOCK, 5000, nullptr);
  text.resize(length);
  return text;
}

std::wstring MessageBoxText(HWND box) {
  // The message box's text is its static control with id 0xFFFF.
  HWND text = ::GetDlgItem(box, 0xFFFF);
  return text ? WindowText(text) : L"";
}

std::vector<DWORD> ProcessesNamed(const std::wstring& name) {
  std::vector<DWORD> ids;
  base::UniqueFile snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return ids;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = ::Process32FirstW(snapshot.get(), &entry); more;
       more = ::Process32NextW(snapshot.get(), &entry)) {
    if (::lstrcmpiW(entry.szExeFile, name.c_str()) == 0) ids.push_back(entry.th32ProcessID);
  }
  return ids;
}

void EndAll(const std::wstring& name) {
  for (DWORD id : ProcessesNamed(name)) {
    base::UniqueHandle process(::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id));
    if (!process) continue;
    ::TerminateProcess(process.get(), 0);
    ::WaitForSingleObject(process.get(), 5000);
  }
}

Plindar::Plindar(const std::wstring& folder, const std::wstring& workingFolder)
    : process_(folder + L"\\Plindar.exe", L"", workingFolder) {
  window_ = WaitForWindow(process_.id(), L"PlindarForm", 20s);
  if (!window_) ADD_FAILURE() << "the main window did not come up";
  // Let the first paint and the focus settle before the test looks.
  ::Sleep(300);
}

HWND Plindar::Control(int index) const { return ::GetDlgItem(window_, platform::IdOf(index)); }

DWORD Plindar::threadId() const { return ::GetWindowThreadProcessId(window_, nullptr); }

namespace {

// Runs xdotool, which Wine starts as the Linux program it is, with `arguments`; waits `settle`
// for it to give its keys and the window to take them.
bool Xdotool(const std::string& arguments, std::chrono::milliseconds settle) {
  const std::wstring xdotool = L"Z:\\usr\\bin\\xdotool";
  if (::GetFileAttributesW(xdotool.c_str()) == INVALID_FILE_ATTRIBUTES) return false;
  std::wstring line = L"xdotool " + base::Utf8ToWide(arguments);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  if (!::CreateProcessW(xdotool.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info))
    return false;
  // A Linux program's handle cannot be waited on: hence the fixed time.
  if (info.hThread) ::CloseHandle(info.hThread);
  if (info.hProcess) ::CloseHandle(info.hProcess);
  ::Sleep(static_cast<DWORD>(settle.count()));
  return true;
}

}  // namespace

bool PressKeys(const std::string& keys) {
  const auto count = std::count(keys.begin(), keys.end(), ' ') + 1;
  return Xdotool("key --delay 120 " + keys, std::chrono::milliseconds(300 + 150 * count));
}

bool HoldKey(const std::string& key, std::chrono::milliseconds held) {
  return Xdotool(
      "keydown " + key + " sleep " + std::to_string(held.count() / 1000.0) + " keyup " + key,
      held + 500ms);
}

int Plindar::FocusedControl() const {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  if (!::GetGUIThreadInfo(threadId(), &info) || !info.hwndFocus) return -1;
  if (::GetParent(info.hwndFocus) != window_) return -1;
  return ::GetDlgCtrlID(info.hwndFocus) - platform::kFirstControlId;
}

void Plindar::Click(int index) const {
  // Posted, not sent: a handler that brings up a message box must not hold the test.
  ::PostMessageW(Control(index), BM_CLICK, 0, 0);
}

}  // namespace e2e
