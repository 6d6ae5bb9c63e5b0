#include "platform/RuntimeError.h"

#include <windows.h>

#include <new>

namespace platform {

std::wstring RuntimeErrorText(const RuntimeError& error) {
  return L"运行时错误 '" + std::to_wstring(error.number()) + L"':\r\n\r\n" + error.description();
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

void EndWithRuntimeError(const RuntimeError& error) noexcept {
  // Task-modal and owner-less: the main window may be half built or not shown yet, and the
  // box must still come up in front.
  ::MessageBoxW(nullptr, RuntimeErrorText(error).c_str(), L"Plindar",
                MB_OK | MB_ICONERROR | MB_TASKMODAL | MB_SETFOREGROUND);
  ::ExitProcess(static_cast<UINT>(error.number()));
}

}  // namespace platform
