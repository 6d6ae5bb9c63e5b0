#pragma once
// A System for tests: a process table, a clock that moves only when the code under test
// waits, scripted message-box answers and window events, and a log of every call that reached
// the system, in the order it happened, each stamped with the clock.
#include <cstring>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/System.h"

namespace fake {

// Thrown by EndProgram, so a test can see that the program ended and that nothing after the
// end ran.
struct ProgramEnded {};

struct Process {
  DWORD id;
  std::string name;  // the bytes of the name field up to (not including) its NUL
  bool canOpen = true;
  // When set, these 260 bytes are written into the name field as they are, NUL or not.
  std::string rawField = {};
};

class FakeSystem : public platform::System {
 public:
  std::vector<Process> processes;
  bool snapshotFails = false;
  std::deque<int> answers;          // message box answers, in the order the boxes come up
  std::uint32_t clock = 1'000'000;  // milliseconds; moves only while the code under test waits
  std::wstring folder = L"C:\\Plindar";

  // Every call, in order: "@<ms> <what>".
  std::vector<std::wstring> log;
  std::vector<DWORD> sizeAtFirst;  // dwSize as Process32First saw it
  int pumps = 0;
  std::string skinPath, skinReserved;
  // Runs as each launch reaches the system, before it is logged: to see the program's state
  // at that moment.
  std::function<void()> beforeLaunch;
  // Runs while a message box is up, before it is answered: what reaches the window meanwhile.
  std::function<void()> whileAsking;

  // What the program did to the machine: the log without the steps of a process walk that
  // only look (the snapshot, opening a process, closing a handle).
  std::vector<std::wstring> Effects() const {
    std::vector<std::wstring> effects;
    for (const std::wstring& entry : log)
      if (!IsWalkStep(entry) || Step(entry).starts_with(L"terminate ")) effects.push_back(entry);
    return effects;
  }
  // The steps of the process walks, without their times.
  std::vector<std::wstring> Walk() const {
    std::vector<std::wstring> steps;
    for (const std::wstring& entry : log)
      if (IsWalkStep(entry)) steps.push_back(Step(entry));
    return steps;
  }

  // Runs `event` from the pump once the clock reaches `at`, as a window event would.
  void At(std::uint32_t at, std::function<void()> event) {
    scheduled_.emplace(at, std::move(event));
  }

  HANDLE CreateToolhelp32Snapshot(DWORD flags, DWORD processId) override {
    Record(L"snapshot " + std::to_wstring(flags) + L" " + std::to_wstring(processId));
    if (snapshotFails) return INVALID_HANDLE_VALUE;
    next_ = 0;
    return kSnapshot;
  }
  BOOL Process32First(HANDLE snapshot, platform::ProcessEntry* entry) override {
    sizeAtFirst.push_back(entry->dwSize);
    next_ = 0;
    return Fill(snapshot, entry);
  }
  BOOL Process32Next(HANDLE snapshot, platform::ProcessEntry* entry) override {
    return Fill(snapshot, entry);
  }
  HANDLE OpenProcess(DWORD access, BOOL inherit, DWORD processId) override {
    Record(L"open " + std::to_wstring(processId) + L" access " + std::to_wstring(access) +
           L" inherit " + std::to_wstring(inherit));
    for (const Process& p : processes)
      if (p.id == processId && p.canOpen) return ProcessHandle(processId);
    return nullptr;
  }
  BOOL TerminateProcess(HANDLE process, UINT exitCode) override {
    const DWORD id = IdOf(process);
    Record(L"terminate " + std::to_wstring(id) + L" code " + std::to_wstring(exitCode));
    return TRUE;
  }
  BOOL CloseHandle(HANDLE handle) override {
    Record(handle == kSnapshot ? L"close snapshot"
                               : L"close process " + std::to_wstring(IdOf(handle)));
    return TRUE;
  }

  void Launch(const std::wstring& commandLine, int showState) override {
    if (beforeLaunch) beforeLaunch();
    Record(L"launch " + commandLine + L" show " + std::to_wstring(showState));
  }
  void ClearClipboard() override { Record(L"clear clipboard"); }
  int ShowMessageBox(const std::wstring& text, const std::wstring& title, unsigned style) override {
    Record(L"ask " + title + L" " + std::to_wstring(style) + L" " + text);
    if (whileAsking) whileAsking();
    if (answers.empty()) return platform::kAnswerCancel;
    const int answer = answers.front();
    answers.pop_front();
    return answer;
  }

  std::int32_t TimeGetTime() override { return static_cast<std::int32_t>(clock); }
  void PumpEvents() override {
    ++pumps;
    while (!scheduled_.empty() && Due(scheduled_.begin()->first)) {
      auto event = std::move(scheduled_.begin()->second);
      scheduled_.erase(scheduled_.begin());
      event();
    }
  }
  void WaitForEvents(std::uint32_t milliseconds) override {
    std::uint32_t step = milliseconds;
    if (!scheduled_.empty()) {
      const std::uint32_t untilEvent = scheduled_.begin()->first - clock;
      if (Due(scheduled_.begin()->first))
        step = 0;
      else if (untilEvent < step)
        step = untilEvent;
    }
    clock += step;
  }
  // The time of day as hours:minutes:seconds of the fake clock.
  std::wstring TimeOfDayText() override {
    const std::uint32_t s = clock / 1000;
    wchar_t text[16];
    swprintf(text, 16, L"%02u:%02u:%02u", (s / 3600) % 24, (s / 60) % 60, s % 60);
    return text;
  }

  std::wstring ProgramFolder() override { return folder; }
  void AttachSkin(const std::string& path, const std::string& reserved) override {
    skinPath = path;
    skinReserved = reserved;
    Record(L"attach skin");
  }
  void NameForScreenReaders(HWND control, const std::wstring& name) override {
    Record(L"name " + std::to_wstring(::GetDlgCtrlID(control)) + L" " + name);
  }
  void ForgetScreenReaderNames(HWND control) override {
    Record(L"forget name " + std::to_wstring(::GetDlgCtrlID(control)));
  }
  [[noreturn]] void EndProgram() override {
    Record(L"end program");
    throw ProgramEnded{};
  }

  void Record(const std::wstring& what) {
    log.push_back(L"@" + std::to_wstring(clock) + L" " + what);
  }

 private:
  static inline HANDLE const kSnapshot = reinterpret_cast<HANDLE>(0x5000);
  static HANDLE ProcessHandle(DWORD id) { return reinterpret_cast<HANDLE>(0x10000 + id * 4); }
  static DWORD IdOf(HANDLE h) {
    return static_cast<DWORD>((reinterpret_cast<UINT_PTR>(h) - 0x10000) / 4);
  }
  static std::wstring Step(const std::wstring& entry) { return entry.substr(entry.find(L' ') + 1); }
  static bool IsWalkStep(const std::wstring& entry) {
    const std::wstring step = Step(entry);
    for (const wchar_t* verb : {L"snapshot ", L"open ", L"terminate ", L"close "})
      if (step.starts_with(verb)) return true;
    return false;
  }
  bool Due(std::uint32_t at) const { return static_cast<std::int32_t>(at - clock) <= 0; }

  BOOL Fill(HANDLE snapshot, platform::ProcessEntry* entry) {
    if (snapshot != kSnapshot || next_ >= processes.size()) return FALSE;
    const Process& p = processes[next_++];
    entry->th32ProcessID = p.id;
    // Like Windows, write the name and its NUL over whatever the record held before, and leave
    // the rest of the field alone.
    if (!p.rawField.empty()) {
      std::memcpy(entry->szExeFile, p.rawField.data(), sizeof(entry->szExeFile));
    } else {
      std::memcpy(entry->szExeFile, p.name.c_str(), p.name.size() + 1);
    }
    return TRUE;
  }

  size_t next_ = 0;
  std::multimap<std::uint32_t, std::function<void()>> scheduled_;
};

}  // namespace fake
