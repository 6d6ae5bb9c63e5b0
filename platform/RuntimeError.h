#pragma once
// The program's run-time errors: a numbered failure with a description, shown to the user in
// the manner of a classic run-time error box and then the end of the program. Handlers never
// catch these; the window procedure's boundary does, and hands them to EndWithRuntimeError.
#include <exception>
#include <string>

namespace platform {

namespace error {
inline constexpr int kInvalidCall = 5;         // 无效的过程调用或参数
inline constexpr int kOutOfMemory = 7;         // 内存溢出
inline constexpr int kDllLoad = 48;            // 加载 DLL 错误
inline constexpr int kFileNotFound = 53;       // 文件未找到
inline constexpr int kDllEntryNotFound = 453;  // 找不到 DLL 入口点
inline constexpr int kClipboard = 521;         // 不能打开剪贴板
}  // namespace error

class RuntimeError : public std::exception {
 public:
  RuntimeError(int number, std::wstring description)
      : number_(number), description_(std::move(description)) {}
  int number() const noexcept { return number_; }
  const std::wstring& description() const noexcept { return description_; }
  const char* what() const noexcept override { return "Plindar run-time error"; }

 private:
  int number_;
  std::wstring description_;
};

// The text of the error box: "运行时错误 '53':", an empty line, then the description.
std::wstring RuntimeErrorText(const RuntimeError& error);

// Turns whatever is in flight (a RuntimeError, an allocation failure, anything else) into the
// run-time error it stands for. Call only from inside a catch block.
RuntimeError CurrentExceptionAsRuntimeError() noexcept;

// Shows the error box and ends the process with the error's number as its exit code.
[[noreturn]] void EndWithRuntimeError(const RuntimeError& error) noexcept;

}  // namespace platform
