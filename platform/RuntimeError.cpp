#include "platform/RuntimeError.h"

#include <windows.h>

#include <new>
#include <utility>

#include "base/LeanRuntime.h"

namespace platform {

std::wstring RuntimeErrorText(const RuntimeError& error) {
  // The number by hand: the library's number formatting brings a whole printf along.
  std::wstring number;
  const auto bits = static_cast<unsigned>(error.number());
  unsigned value = error.number() < 0 ? 0u - bits : bits;
  do {
    number.insert(number.begin(), static_cast<wchar_t>(L'0' + value % 10));
    value /= 10;
  } while (value > 0);
  if (error.number() < 0) number.insert(number.begin(), L'-');
  return L"运行时错误 '" + number + L"':\r\n\r\n" + error.description();
}

RuntimeError CurrentExceptionAsRuntimeError() noexcept {
  try {
    throw;
  } catch (const RuntimeError& e) {
    return e;
  } catch (const std::bad_alloc&) {
    return RuntimeError(error::kOutOfMemory, L"内存溢出");
  } catch (...) {
    return RuntimeError(error::kInvalidCall, L"无效的过程调用或参数");
  }
}

namespace {

LastWords g_lastWords = nullptr;
void* g_lastWordsContext = nullptr;

}  // namespace

void SetLastWords(LastWords lastWords, void* context) noexcept {
  g_lastWords = lastWords;
  g_lastWordsContext = context;
}

void ClearLastWords(void* context) noexcept {
  if (g_lastWordsContext == context) SetLastWords(nullptr, nullptr);
}

void EndOnCurrentException() noexcept { EndWithRuntimeError(CurrentExceptionAsRuntimeError()); }

void EndWithRuntimeError(const RuntimeError& error) noexcept {
  // Taken before they run: a failure inside them, or a second error while the box is up, ends
  // the program without running them again.
  if (const LastWords lastWords = std::exchange(g_lastWords, nullptr))
    lastWords(g_lastWordsContext);
  // Task-modal and owner-less: the main window may be half built or not shown yet, and the
  // box must still come up in front.
  ::MessageBoxW(nullptr, RuntimeErrorText(error).c_str(), L"Plindar",
                MB_OK | MB_ICONERROR | MB_TASKMODAL | MB_SETFOREGROUND);
  ::ExitProcess(static_cast<UINT>(error.number()));
}

}  // namespace platform

namespace lean_runtime {

void Throw(LibraryError error) {
  if (error == LibraryError::kOutOfMemory)
    throw platform::RuntimeError(platform::error::kOutOfMemory, L"内存溢出");
  throw platform::RuntimeError(platform::error::kInvalidCall, L"无效的过程调用或参数");
}

void Terminate() noexcept {
  platform::EndWithRuntimeError(
      std::current_exception()
          ? platform::CurrentExceptionAsRuntimeError()
          : platform::RuntimeError(platform::error::kInvalidCall, L"无效的过程调用或参数"));
}

}  // namespace lean_runtime
