// Prints how long the installed Plindar.exe takes from process start to a visible window, and
// its peak working set, beside the same figures for a bare one-window program started the same
// way in the same run. Usage: startup_bench [runs]
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Sample {
  double ms;
  SIZE_T peakBytes;
};

struct Find {
  DWORD pid;
  bool found;
};

BOOL CALLBACK Visible(HWND window, LPARAM param) {
  auto* find = reinterpret_cast<Find*>(param);
  DWORD pid = 0;
  ::GetWindowThreadProcessId(window, &pid);
  if (pid == find->pid && ::IsWindowVisible(window)) {
    find->found = true;
    return FALSE;
  }
  return TRUE;
}

bool Measure(const std::wstring& program, Sample& sample) {
  std::wstring line = L"\"" + program + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  LARGE_INTEGER frequency, start, now;
  ::QueryPerformanceFrequency(&frequency);
  ::QueryPerformanceCounter(&start);
  if (!::CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info))
    return false;
  Find find{info.dwProcessId, false};
  for (int i = 0; i < 30000 && !find.found; ++i) {
    ::EnumWindows(Visible, reinterpret_cast<LPARAM>(&find));
    if (!find.found) ::Sleep(1);
  }
  ::QueryPerformanceCounter(&now);
  sample.ms = 1000.0 * double(now.QuadPart - start.QuadPart) / double(frequency.QuadPart);
  ::Sleep(500);  // let it settle: paint, timers, the skin
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof(counters);
  ::GetProcessMemoryInfo(info.hProcess, &counters, sizeof(counters));
  sample.peakBytes = counters.PeakWorkingSetSize;
  ::TerminateProcess(info.hProcess, 0);
  ::WaitForSingleObject(info.hProcess, 5000);
  ::CloseHandle(info.hThread);
  ::CloseHandle(info.hProcess);
  return find.found;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 11;
  wchar_t self[MAX_PATH];
  ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring bin(self);
  bin = bin.substr(0, bin.find_last_of(L'\\'));
  const std::wstring stage = bin.substr(0, bin.find_last_of(L'\\')) + L"\\stage";
  const std::wstring plindar = stage + L"\\Plindar.exe";
  struct Program {
    const char* label;
    std::wstring path;
    std::vector<double> ms, peak;
  } programs[] = {
      {"Plindar", stage + L"\\Plindar.exe", {}, {}},
      {"bare window", bin + L"\\bare_window.exe", {}, {}},
      {"bare + common controls + CJK label", bin + L"\\bare_window_cc.exe", {}, {}},
  };
  for (int i = 0; i < runs; ++i) {  // interleaved, so drift hits all alike
    for (Program& program : programs) {
      Sample s{};
      if (!Measure(program.path, s))
        return std::fprintf(stderr, "%s did not show\n", program.label), 1;
      program.ms.push_back(s.ms);
      program.peak.push_back(double(s.peakBytes) / 1048576.0);
    }
  }
  const double plindarMs = Median(programs[0].ms), plindarPeak = Median(programs[0].peak);
  std::printf("%d runs each, interleaved; medians\n", runs);
  std::printf("%-36s %9s %7s %13s %9s\n", "program", "visible", "ratio", "peak w. set", "above");
  for (const Program& program : programs) {
    const double ms = Median(program.ms), peak = Median(program.peak);
    std::printf("%-36s %6.1f ms %7.2f %10.1f MB %6.1f MB\n", program.label, ms, plindarMs / ms,
                peak, plindarPeak - peak);
  }
  return 0;
}
