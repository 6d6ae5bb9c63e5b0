#include "platform/RuntimeError.h"

#include <windows.h>

#include <new>
#include <utility>

#include "base/LeanRuntime.h"

namespace platform {

namespace {

struct ErrorEntry {
  int number;
  const wchar_t* description;
  const wchar_t* beforeWhat;  // between the description and what it is of
};

// clang-format off
constexpr ErrorEntry kErrors[] = {
    /* kInvalidCall */       {5,   L"无效的过程调用或参数", L""},
    /* kOutOfMemory */       {7,   L"内存溢出",             L""},
    /* kDllLoad */           {48,  L"加载 DLL 错误",        L": "},
    /* kFileNotFound */      {53,  L"文件未找到",           L": "},
    /* kDllEntryNotFound */  {453, L"找不到 DLL 入口点",    L" "},
    /* kClipboard */         {521, L"不能打开剪贴板",       L""},
};
// clang-format on

}  // namespace

RuntimeError::RuntimeError(ErrorKind kind, std::wstring_view of) {
  const ErrorEntry& entry = kErrors[static_cast<int>(kind)];
  number_ = entry.number;
  description_ = entry.description;
  if (!of.empty()) description_.append(entry.beforeWhat).append(of);
}

std::wstring RuntimeErrorText(int number, std::wstring_view description) {
  // The number by hand: the library's number formatting brings a whole printf along.
  std::wstring digits;
  const auto bits = static_cast<unsigned>(number);
  unsigned value = number < 0 ? 0u - bits : bits;
  do {
    digits.insert(digits.begin(), static_cast<wchar_t>(L'0' + value % 10));
    value /= 10;
  } while (value > 0);
  if (number < 0) digits.insert(digits.begin(), L'-');
  return L"运行时错误 '" + digits + L"':\r\n\r\n" + std::wstring(description);
}

RuntimeError CurrentExceptionAsRuntimeError() noexcept {
  try {
    throw;
  } catch (const RuntimeError& e) {
    return e;
  } catch (const std::bad_alloc&) {
    return RuntimeError(ErrorKind::kOutOfMemory);
  } catch (...) {
    return RuntimeError(ErrorKind::kInvalidCall);
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
    throw platform::RuntimeError(platform::ErrorKind::kOutOfMemory);
  throw platform::RuntimeError(platform::ErrorKind::kInvalidCall);
}

void Terminate() noexcept {
  platform::EndWithRuntimeError(std::current_exception()
                                    ? platform::CurrentExceptionAsRuntimeError()
                                    : platform::RuntimeError(platform::ErrorKind::kInvalidCall));
}

}  // namespace lean_runtime
