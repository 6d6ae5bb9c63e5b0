#include "repair/Delay.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "FakeSystem.h"
#include "platform/WinSystem.h"

namespace {

TEST(Delay, NothingOrLessReturnsAtOnceServingNothing) {
  for (std::int16_t ms : {0, -1, -32768}) {
    fake::FakeSystem system;
    bool served = false;
    system.At(system.clock, [&] { served = true; });
    const std::uint32_t start = system.clock;
    repair::Delay(system, ms);
    EXPECT_EQ(system.clock, start) << ms;
    EXPECT_EQ(system.pumps, 0) << ms;
    EXPECT_FALSE(served) << ms;
  }
}

TEST(Delay, LastsItsFullLengthWhereverTheClockStands) {
  struct Case {
    const char* what;
    std::uint32_t start;
    std::int16_t ms;
  } cases[] = {
      {"an ordinary wait", 1'000'000, 2000},
      {"the longest wait", 5'000, 32767},
      {"across the clock's sign change at 2^31 ms", 0x7FFFFF00u, 3000},
      {"across the clock's wrap at 2^32 ms", 0xFFFFFF00u, 3000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fake::FakeSystem system;
    system.clock = c.start;
    repair::Delay(system, c.ms);
    EXPECT_EQ(system.clock - c.start, static_cast<std::uint32_t>(c.ms));
    EXPECT_GE(system.pumps, 1);
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

// The real pump: a message posted to a window during the wait is dispatched before the wait
// ends, and the wait sleeps rather than spins.
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

TEST(Delay, RealPumpServesMessagesPostedDuringTheWait) {
  platform::WinSystem system;
  CountingWindow window;
  ::PostMessageW(window.handle(), WM_APP, 0, reinterpret_cast<LPARAM>(&window.served));
  repair::Delay(system, 0);
  EXPECT_EQ(window.served, 0) << "a wait of 0 serves nothing";

  std::thread poster([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    ::PostMessageW(window.handle(), WM_APP, 0, reinterpret_cast<LPARAM>(&window.served));
  });
  const auto start = std::chrono::steady_clock::now();
  FILETIME created, exited, kernelBefore, userBefore, kernelAfter, userAfter;
  ::GetThreadTimes(::GetCurrentThread(), &created, &exited, &kernelBefore, &userBefore);
  repair::Delay(system, 600);
  ::GetThreadTimes(::GetCurrentThread(), &created, &exited, &kernelAfter, &userAfter);
  const auto waited = std::chrono::steady_clock::now() - start;
  poster.join();

  EXPECT_EQ(window.served, 2) << "the earlier message and the one posted during the wait";
  EXPECT_GE(waited, std::chrono::milliseconds(590));
  EXPECT_LT(waited, std::chrono::milliseconds(3000));
  auto ticks = [](FILETIME t) { return (ULONGLONG(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
  const ULONGLONG cpu100ns =
      ticks(kernelAfter) - ticks(kernelBefore) + ticks(userAfter) - ticks(userBefore);
  // A spinning wait would burn about the whole 600 ms; allow a generous fraction of it.
  EXPECT_LT(cpu100ns, 3'000'000u) << "the wait used " << cpu100ns / 10'000 << " ms of CPU";
}

// Another program's SendMessage (a screen reader, the shell's broadcasts, a test driver) is
// answered during the wait, not held until the wait is over: one that arrives while the wait
// runs, and one that arrived while the thread was busy just before it.
TEST(Delay, RealPumpAnswersMessagesSentBeforeOrDuringTheWait) {
  for (const int sendAtMs : {100, -150}) {
    SCOPED_TRACE(sendAtMs < 0 ? "sent before the wait" : "sent during the wait");
    platform::WinSystem system;
    CountingWindow window;
    std::atomic<long long> answeredAtMs{-1};
    const auto begin = std::chrono::steady_clock::now();
    const int busyMs = sendAtMs < 0 ? 300 : 0;
    std::thread sender([&] {
      std::this_thread::sleep_for(std::chrono::milliseconds(busyMs + sendAtMs));
      ::SendMessageW(window.handle(), WM_APP, 0, reinterpret_cast<LPARAM>(&window.served));
      answeredAtMs = std::chrono::duration_cast<std::chrono::milliseconds>(
                         std::chrono::steady_clock::now() - begin)
                         .count();
    });
    ::Sleep(busyMs);  // busy, serving nothing
    repair::Delay(system, 1000);
    sender.join();
    EXPECT_EQ(window.served, 1);
    EXPECT_LT(answeredAtMs, busyMs + std::max(sendAtMs, 0) + 300)
        << "the sender waited for the pause to end";
  }
}

}  // namespace
