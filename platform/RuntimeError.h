#pragma once
// The program's run-time errors: a numbered failure with a description, shown to the user in
// the manner of a classic run-time error box and then the end of the program. Handlers never
// catch these; the window procedure's boundary does, and hands them to EndWithRuntimeError.
#include <exception>
#include <string>
#include <string_view>

namespace platform {

// The program's run-time errors; each has its number in one table (RuntimeError.cpp), the
// classic runtime's, which users of such tools look up by number, and its description in
// res/Texts.h. The compiler checks that every kind has its row there.
enum class ErrorKind {
  kInvalidCall,
  kOutOfMemory,
  kDllLoad,           // of a library
  kFileNotFound,      // of a file
  kDllEntryNotFound,  // of an entry in a library
  kClipboard,
  kCount  // not a kind: how many there are
};

class RuntimeError : public std::exception {
 public:
  // An error of `kind`; `of` names what it is about (a file, a library, an entry), where its
  // description says so.
  explicit RuntimeError(ErrorKind kind, std::wstring_view of = {});
  int number() const noexcept { return number_; }
  const std::wstring& description() const noexcept { return description_; }
  const char* what() const noexcept override { return "Plindar run-time error"; }

 private:
  int number_;
  std::wstring description_;
};

// Error 453 for `entry`, looked for in `library` and not found there.
RuntimeError MissingEntry(std::wstring_view entry, std::wstring_view library);

// The text of the error box: "运行时错误 '53':", an empty line, then the description.
std::wstring RuntimeErrorText(int number, std::wstring_view description);
inline std::wstring RuntimeErrorText(const RuntimeError& error) {
  return RuntimeErrorText(error.number(), error.description());
}

// Turns whatever is in flight (a RuntimeError, an allocation failure, anything else) into the
// run-time error it stands for. Call only from inside a catch block.
RuntimeError CurrentExceptionAsRuntimeError() noexcept;

// What must be put right before the program ends on a run-time error (a shell the repair ended,
// started again). One at a time; runs once, whichever way the error came: a handler's failure
// caught at a boundary, or one that escaped to the runtime's terminate handler.
using LastWords = void (*)(void* context) noexcept;
void SetLastWords(LastWords lastWords, void* context) noexcept;
void ClearLastWords(void* context) noexcept;

// Runs the last words, shows the error box and ends the process with the error's number as its
// exit code.
[[noreturn]] void EndWithRuntimeError(const RuntimeError& error) noexcept;
// While the error box is up: ends the process at once with that error's number, as answering
// the box would. For Windows ending the session, which waits for no answer.
[[noreturn]] void EndShownRuntimeErrorNow() noexcept;
// The same for the exception in flight. Call only from inside a catch block.
[[noreturn]] void EndOnCurrentException() noexcept;

// Runs `call` where Windows calls into the program (a window or subclass procedure): no
// exception goes back into Windows, whose frames it cannot pass. One that comes this far is the
// program's run-time error, and ends the program.
template <class Call>
auto AtMessageBoundary(Call&& call) noexcept -> decltype(call()) {
  try {
    return call();
  } catch (...) {
    EndOnCurrentException();
  }
}

}  // namespace platform
