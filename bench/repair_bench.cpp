// Prints what a pause costs: the pumped delay against a polling loop of the literal kind
// (pump once, read the clock, again until the time is up), side by side in one run, as CPU
// time per second waited and as overrun past the due time; then the CPU time the installed
// Plindar.exe uses over one whole one-click repair against the wall time it takes.
//
// The last part ends every rundll32.exe and explorer.exe: it runs only inside a throwaway Wine
// prefix (PLINDAR_THROWAWAY_PREFIX set) or on Windows with PLINDAR_ALLOW_ENDING_SHELL=1.
// Usage: repair_bench [pauses]
#include <windows.h>
#include <mmsystem.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/WinSystem.h"
#include "ThisProgram.h"
#include "repair/Delay.h"
#include "ui/Layout.h"

namespace {

double Now() {
  LARGE_INTEGER frequency, counter;
  ::QueryPerformanceFrequency(&frequency);
  ::QueryPerformanceCounter(&counter);
  return 1000.0 * double(counter.QuadPart) / double(frequency.QuadPart);
}

bool UnderWine() {
  return ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

// Wine answers GetProcessTimes for another process with zeros. There the program's CPU comes
// from Linux's own account of it: /proc/PID/stat of the process whose command line is the
// installed Plindar.exe, user and system time in ticks of 10 ms.
double LinuxCpuMsOfPlindar() {
  WIN32_FIND_DATAA found;
  HANDLE search = ::FindFirstFileA("Z:\\proc\\*", &found);
  if (search == INVALID_HANDLE_VALUE) return -1;
  double ms = -1;
  do {
    const std::string folder = std::string("Z:\\proc\\") + found.cFileName;
    if (found.cFileName[0] < '1' || found.cFileName[0] > '9') continue;
    std::string commandLine(512, '\0');
    if (FILE* f = std::fopen((folder + "\\cmdline").c_str(), "rb")) {
      commandLine.resize(std::fread(commandLine.data(), 1, commandLine.size(), f));
      std::fclose(f);
    }
    commandLine = commandLine.c_str();  // the first argument, which Wine pads with blanks
    commandLine.erase(commandLine.find_last_not_of(' ') + 1);
    // A Unix path when started from the shell, a Windows path when started from here.
    if (!commandLine.ends_with("/stage/Plindar.exe") &&
        !commandLine.ends_with("\\stage\\Plindar.exe"))
      continue;
    char stat[1024] = "";
    if (FILE* f = std::fopen((folder + "\\stat").c_str(), "rb")) {
      stat[std::fread(stat, 1, sizeof(stat) - 1, f)] = 0;
      std::fclose(f);
    }
    const char* fields = std::strrchr(stat, ')');  // past the name, which may hold blanks
    unsigned long user = 0, system = 0;
    if (fields && std::sscanf(fields + 2, "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %lu %lu",
                              &user, &system) == 2)
      ms = 10.0 * double(user + system);
    break;
  } while (::FindNextFileA(search, &found));
  ::FindClose(search);
  return ms;
}

double CpuMs(HANDLE process) {
  if (process != ::GetCurrentProcess() && UnderWine()) return LinuxCpuMsOfPlindar();
  FILETIME created, exited, kernel, user;
  ::GetProcessTimes(process, &created, &exited, &kernel, &user);
  auto ms = [](FILETIME t) {
    return double((ULONGLONG(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 10000.0;
  };
  return ms(kernel) + ms(user);
}

// The reference: the wait as a literal polling loop, kept here only to be measured against.
void PollingDelay(platform::System& system, std::int16_t ms) {
  const std::int32_t start = system.TimeGetTime();
  std::int32_t latest = system.TimeGetTime();
  if (latest >= start + ms) return;
  do {
    system.PumpEvents();
    latest = system.TimeGetTime();
  } while (latest < start + ms);
}

struct Figures {
  double cpuPerSecond, medianOverrun, maxOverrun;
};

template <class Wait>
Figures MeasurePauses(int pauses, std::int16_t length, Wait wait) {
  std::vector<double> overruns;
  const double cpuBefore = CpuMs(::GetCurrentProcess());
  double waited = 0;
  for (int i = 0; i < pauses; ++i) {
    const double start = Now();
    wait(length);
    const double took = Now() - start;
    waited += took;
    overruns.push_back(took - length);
  }
  const double cpu = CpuMs(::GetCurrentProcess()) - cpuBefore;
  std::sort(overruns.begin(), overruns.end());
  return {1000.0 * cpu / waited, overruns[overruns.size() / 2], overruns.back()};
}

BOOL CALLBACK FindBox(HWND window, LPARAM found) {
  wchar_t name[16];
  ::GetClassNameW(window, name, 16);
  if (::lstrcmpW(name, L"#32770") == 0 && ::IsWindowVisible(window)) {
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  return TRUE;
}

int MeasureRepair() {
  std::wstring program = support::StageFolder() + L"\\Plindar.exe";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  std::wstring line = L"\"" + program + L"\"";
  if (!::CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info))
    return std::fprintf(stderr, "cannot start Plindar.exe\n"), 1;
  HWND window = nullptr;
  for (int i = 0; i < 200 && !window; ++i, ::Sleep(50)) {
    window = ::FindWindowW(L"PlindarForm", nullptr);
    if (window && !::IsWindowVisible(window)) window = nullptr;
  }
  if (!window) return std::fprintf(stderr, "no window\n"), 1;
  ::Sleep(500);
  HWND command4 = ::GetDlgItem(window, platform::IdOf(ui::ctl::Command4));
  HWND list = ::GetDlgItem(window, platform::IdOf(ui::ctl::List1));
  // The same span of doing nothing first: what the window costs while it only keeps its clock.
  const double idleBefore = CpuMs(info.hProcess);
  ::Sleep(12000);
  const double idle = CpuMs(info.hProcess) - idleBefore;
  std::printf("idle window, 12000 ms    Plindar CPU %.0f ms   = %.2f%% of one core\n", idle,
              idle / 120.0);
  ::PostMessageW(command4, BM_CLICK, 0, 0);
  HWND box = nullptr;
  for (int i = 0; i < 200 && !box; ++i, ::Sleep(20))
    ::EnumThreadWindows(::GetWindowThreadProcessId(window, nullptr), FindBox,
                        reinterpret_cast<LPARAM>(&box));
  if (!box) return std::fprintf(stderr, "no confirmation box\n"), 1;

  const double cpuBefore = CpuMs(info.hProcess);
  const double start = Now();
  ::PostMessageW(::GetDlgItem(box, IDYES), BM_CLICK, 0, 0);
  // Looked at every 100 ms, so that watching costs the window next to nothing: each look is
  // a message the window answers. The CPU the program used up to each new log line is noted
  // when the line is first seen.
  double slowestAnswer = 0;
  std::vector<double> seenAt(8, 0), cpuAt(8, 0);
  cpuAt[0] = cpuBefore;
  LRESULT seen = 0;
  for (;;) {
    const double asked = Now();
    const LRESULT lines = ::SendMessageW(list, LB_GETCOUNT, 0, 0);
    slowestAnswer = std::max(slowestAnswer, Now() - asked);
    for (; seen < std::min<LRESULT>(lines, 7); ++seen) {
      seenAt[seen + 1] = Now() - start;
      cpuAt[seen + 1] = CpuMs(info.hProcess);
    }
    if (lines >= 7 && ::IsWindowEnabled(command4)) break;
    if (Now() - start > 60000) return std::fprintf(stderr, "the repair did not finish\n"), 1;
    ::Sleep(100);
  }
  const double wall = Now() - start;
  const double cpu = CpuMs(info.hProcess) - cpuBefore;
  std::printf("slowest answer to a look %.0f ms\n", slowestAnswer);
  std::printf(
      "one-click repair         wall %.0f ms   Plindar CPU %.0f ms   = %.2f%% of one core\n", wall,
      cpu, 100.0 * cpu / wall);
  std::printf("  log line (as seen, to 100 ms)         CPU since the line before\n");
  for (int i = 0; i < 7; ++i) {  // the log, whose times show where the steps spent their time
    wchar_t text[256] = L"";
    ::SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
    char utf8[512] = "";
    ::WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof(utf8), nullptr, nullptr);
    std::printf("  %-36s %6.0f ms (seen at %5.0f ms)\n", utf8, cpuAt[i + 1] - cpuAt[i],
                seenAt[i + 1]);
  }
  ::TerminateProcess(info.hProcess, 0);
  ::CloseHandle(info.hThread);
  ::CloseHandle(info.hProcess);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const int pauses = argc > 1 ? std::max(3, std::atoi(argv[1])) : 15;
  platform::WinSystem system;
  ::timeBeginPeriod(1);  // neither wait may blame the clock's resolution
  const Figures pumped =
      MeasurePauses(pauses, 200, [&](std::int16_t ms) { repair::Delay(system, ms); });
  const Figures polling =
      MeasurePauses(pauses, 200, [&](std::int16_t ms) { PollingDelay(system, ms); });
  ::timeEndPeriod(1);
  std::printf("%d pauses of 200 ms each     CPU per second waited   overrun median   overrun max\n",
              pauses);
  std::printf("pumped delay (ours)        %8.1f ms            %8.2f ms      %8.2f ms\n",
              pumped.cpuPerSecond, pumped.medianOverrun, pumped.maxOverrun);
  std::printf("polling loop (reference)   %8.1f ms            %8.2f ms      %8.2f ms\n",
              polling.cpuPerSecond, polling.medianOverrun, polling.maxOverrun);
  std::printf("CPU ratio polling / pumped: %.0f x\n",
              polling.cpuPerSecond / std::max(pumped.cpuPerSecond, 0.01));
  if (!support::MayEndSystemProcesses()) {
    std::printf(
        "one-click repair         skipped: it ends the shell (see the comment at the top)\n");
    return 0;
  }
  return MeasureRepair();
}
