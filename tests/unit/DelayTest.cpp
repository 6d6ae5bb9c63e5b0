#include "repair/Delay.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>

#include "FakeSystem.h"
#include "platform/WinSystem.h"

namespace {

TEST(Delay, LastsItsFullLengthWhereverTheClockStandsAndNothingOrLessServesNothing) {
  struct Case {
    const char* what;
    std::uint32_t start;
    std::int16_t ms;
  } cases[] = {
      {"an ordinary wait", 1'000'000, 2000},
      {"the longest wait", 5'000, 32767},
      {"across the clock's sign change at 2^31 ms", 0x7FFFFF00u, 3000},
      {"across the clock's wrap at 2^32 ms", 0xFFFFFF00u, 3000},
      {"nothing", 1'000'000, 0},
      {"less than nothing", 1'000'000, -1},
      {"the least there is", 1'000'000, -32768},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fake::FakeSystem system;
    system.clock = c.start;
    bool served = false;
    system.At(c.start, [&] { served = true; });
    repair::Delay(system, c.ms);
    EXPECT_EQ(system.clock - c.start, static_cast<std::uint32_t>(std::max<int>(c.ms, 0)));
    EXPECT_EQ(system.pumps >= 1, c.ms > 0);
    EXPECT_EQ(served, c.ms > 0) << "an event due at the start";
  }
}

TEST(Delay, ServesAnEventWhenItArrivesAndLetsItRunToItsEnd) {
  fake::FakeSystem system;
  const std::uint32_t start = system.clock;
  std::vector<std::uint32_t> servedAt;
  system.At(start + 700, [&] {
    servedAt.push_back(system.clock);
    system.clock += 5000;  // a handler that itself waits, a message box say, holds the wait
  });
  repair::Delay(system, 2000);
  EXPECT_EQ(servedAt, std::vector<std::uint32_t>{start + 700});
  EXPECT_EQ(system.clock - start, 5700u);
}

// A window of the test's own thread that counts the WM_APP messages it is given.
class CountingWindow {
 public:
  CountingWindow() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = &Count;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"PlindarDelayTest";
    ::RegisterClassW(&wc);
    window_ = ::CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                wc.hInstance, nullptr);
  }
  ~CountingWindow() { ::DestroyWindow(window_); }
  HWND handle() const { return window_; }
  std::atomic<int> served{0};

 private:
  static LRESULT CALLBACK Count(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_APP) ++*reinterpret_cast<std::atomic<int>*>(l);
    return ::DefWindowProcW(h, m, w, l);
  }

  HWND window_;
};

// Runs the callable `body` points to, on a thread of Windows' own: the toolchain's thread model
// gives the C++ library none.
template <class Body>
DWORD WINAPI RunOnItsThread(void* body) {
  (*static_cast<Body*>(body))();
  return 0;
}

// Another program's message is served during the wait, not held until it is over: one posted
// or sent (a screen reader, the shell's broadcasts, a test driver) while the wait runs, and one
// sent while the thread was busy just before it. And the wait sleeps rather than spins.
TEST(Delay, RealPumpServesWhatArrivesBeforeOrDuringTheWaitAndSleeps) {
  using std::chrono::milliseconds;
  struct Case {
    const char* what;
    bool sent;  // else posted
    int atMs;   // from the wait's start; before it, while the thread is busy, when negative
  } cases[] = {
      {"posted during the wait", false, 100},
      {"sent during the wait", true, 100},
      {"sent before the wait", true, -150},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    platform::WinSystem system;
    CountingWindow window;
    std::atomic<long long> answeredAtMs{-1};
    const int busyMs = c.atMs < 0 ? 300 : 0;
    const auto begin = std::chrono::steady_clock::now();
    auto send = [&] {
      ::Sleep(static_cast<DWORD>(busyMs + c.atMs));
      const LPARAM served = reinterpret_cast<LPARAM>(&window.served);
      if (c.sent) {
        ::SendMessageW(window.handle(), WM_APP, 0, served);
      } else {
        ::PostMessageW(window.handle(), WM_APP, 0, served);
      }
      answeredAtMs =
          std::chrono::duration_cast<milliseconds>(std::chrono::steady_clock::now() - begin)
              .count();
    };
    base::UniqueHandle other(
        ::CreateThread(nullptr, 0, RunOnItsThread<decltype(send)>, &send, 0, nullptr));
    ::Sleep(busyMs);  // busy, serving nothing
    FILETIME created, exited, kernelBefore, userBefore, kernelAfter, userAfter;
    ::GetThreadTimes(::GetCurrentThread(), &created, &exited, &kernelBefore, &userBefore);
    const auto start = std::chrono::steady_clock::now();
    repair::Delay(system, 600);
    const auto waited = std::chrono::steady_clock::now() - start;
    ::GetThreadTimes(::GetCurrentThread(), &created, &exited, &kernelAfter, &userAfter);
    ::WaitForSingleObject(other.get(), INFINITE);

    EXPECT_EQ(window.served, 1);
    EXPECT_LT(answeredAtMs, busyMs + std::max(c.atMs, 0) + 300)
        << "the sender waited for the pause to end";
    EXPECT_GE(waited, milliseconds(590));
    EXPECT_LT(waited, milliseconds(3000));
    auto ticks = [](FILETIME t) { return (ULONGLONG(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    const ULONGLONG cpu100ns =
        ticks(kernelAfter) - ticks(kernelBefore) + ticks(userAfter) - ticks(userBefore);
    // A spinning wait would burn about the whole 600 ms; allow a generous fraction of it.
    EXPECT_LT(cpu100ns, 3'000'000u) << "the wait used " << cpu100ns / 10'000 << " ms of CPU";
  }
}

}  // namespace
