// Prints how long the installed Plindar.exe takes from process start to its painted window,
// waiting for the user, and its peak working set, beside the same figures for bare one-window
// programs started the same way in the same run. The headline pairs each start of Plindar with
// a start of the baseline right after it, so that drift in the machine's speed falls on both.
// Usage: startup_bench [runs]
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "ThisProgram.h"
#include "TopLevelWindow.h"

namespace {

// Times from process start: its first window exists (created, hidden), that window is
// visible, and the program waits for input with nothing left to do (its first paint done).
struct Sample {
  double createdMs, visibleMs, idleMs;
  SIZE_T peakBytes;
};

double MsSince(const LARGE_INTEGER& start) {
  LARGE_INTEGER frequency, now;
  ::QueryPerformanceFrequency(&frequency);
  ::QueryPerformanceCounter(&now);
  return 1000.0 * double(now.QuadPart - start.QuadPart) / double(frequency.QuadPart);
}

// Polls until process `pid` has a top-level window (a visible one, if asked).
bool WaitForWindowOf(DWORD pid, bool visibleOnly) {
  for (int i = 0; i < 30000; ++i) {
    if (support::TopLevelWindowOf(pid, nullptr, visibleOnly)) return true;
    ::Sleep(1);
  }
  return false;
}

bool Measure(const std::wstring& program, Sample& sample) {
  std::wstring line = L"\"" + program + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  LARGE_INTEGER start;
  ::QueryPerformanceCounter(&start);
  if (!::CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info))
    return false;
  const bool created = WaitForWindowOf(info.dwProcessId, false);
  sample.createdMs = MsSince(start);
  const bool shown = created && WaitForWindowOf(info.dwProcessId, true);
  sample.visibleMs = MsSince(start);
  ::WaitForInputIdle(info.hProcess, 10000);
  sample.idleMs = std::max(MsSince(start), sample.visibleMs);
  ::Sleep(500);  // let it settle: paint, timers, the skin
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof(counters);
  ::GetProcessMemoryInfo(info.hProcess, &counters, sizeof(counters));
  sample.peakBytes = counters.PeakWorkingSetSize;
  ::TerminateProcess(info.hProcess, 0);
  ::WaitForSingleObject(info.hProcess, 5000);
  ::CloseHandle(info.hThread);
  ::CloseHandle(info.hProcess);
  return shown;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// The distance between the first and third quartiles.
double MiddleSpread(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() * 3 / 4] - values[values.size() / 4];
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 11;
  const std::wstring bin = support::ThisProgramsFolder(), stage = support::StageFolder();
  struct Program {
    const char* label;
    std::wstring path;
    std::vector<double> created, visible, idle, peak;
  } programs[] = {
      {"Plindar", stage + L"\\Plindar.exe", {}, {}, {}, {}},
      // The baseline, started right after Plindar each time; it carries the same manifest.
      {"bare + common controls + CJK label", bin + L"\\bare_window_cc.exe", {}, {}, {}, {}},
      {"bare window", bin + L"\\bare_window.exe", {}, {}, {}, {}},
  };
  for (int i = 0; i < runs; ++i) {  // interleaved, so drift hits all alike
    for (Program& program : programs) {
      Sample s{};
      if (!Measure(program.path, s))
        return std::fprintf(stderr, "%s did not show\n", program.label), 1;
      program.created.push_back(s.createdMs);
      program.visible.push_back(s.visibleMs);
      program.idle.push_back(s.idleMs);
      program.peak.push_back(double(s.peakBytes) / 1048576.0);
    }
  }
  // What a user waits for: the window shown, painted, and taking input.
  const Program& plindarRuns = programs[0];
  const Program& baseline = programs[1];
  std::vector<double> paired;
  for (int i = 0; i < runs; ++i) paired.push_back(plindarRuns.idle[i] / baseline.idle[i]);
  std::sort(paired.begin(), paired.end());
  std::printf(
      "to the painted window taking input: Plindar %.1f ms, %s %.1f ms; paired ratio %.2f "
      "(middle half %.2f to %.2f)\n\n",
      Median(plindarRuns.idle), baseline.label, Median(baseline.idle), Median(paired),
      paired[paired.size() / 4], paired[paired.size() * 3 / 4]);

  const double plindarMs = Median(programs[0].visible), plindarPeak = Median(programs[0].peak);
  std::printf("%d runs each, interleaved; medians (visible: spread of the middle half)\n", runs);
  std::printf("%-36s %9s %17s %9s %7s %13s %9s\n", "program", "created", "visible", "idle", "ratio",
              "peak w. set", "above");
  for (const Program& program : programs) {
    const double ms = Median(program.visible), peak = Median(program.peak);
    std::printf("%-36s %6.1f ms %6.1f ms (%4.1f) %6.1f ms %7.2f %10.1f MB %6.1f MB\n",
                program.label, Median(program.created), ms, MiddleSpread(program.visible),
                Median(program.idle), plindarMs / ms, peak, plindarPeak - peak);
  }
  return 0;
}
