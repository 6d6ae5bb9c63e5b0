#pragma once
// GoogleTest, built from its sources for this toolchain: its one use of std::mutex and
// std::condition_variable, Notification, made of a Windows event instead. The C++ library of
// the Win32 thread model that builds the program and its tests has neither (GCC 12); GoogleTest
// keeps its own Windows mutexes everywhere else.
#include <windows.h>

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing::internal {

// Lets threads wait until one says they may go on.
class Notification {
 public:
  Notification() : event_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
  ~Notification() { ::CloseHandle(event_); }
  Notification(const Notification&) = delete;
  Notification& operator=(const Notification&) = delete;
  void Notify() { ::SetEvent(event_); }
  void WaitForNotification() { ::WaitForSingleObject(event_, INFINITE); }

 private:
  HANDLE event_;
};

}  // namespace testing::internal
