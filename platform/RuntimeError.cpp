#include "platform/RuntimeError.h"

#include <windows.h>

#include <iterator>
#include <new>
#include <utility>

#include "base/LeanRuntime.h"
#include "res/Texts.h"

namespace platform {

namespace {

struct ErrorEntry {
  ErrorKind kind;  // written out so the table can be checked against the kinds
  int number;
  const wchar_t* description;
  const wchar_t* beforeWhat;  // between the description and what it is of
};

// clang-format off
constexpr ErrorEntry kErrors[] = {
    {ErrorKind::kInvalidCall,       5,   texts::kErrorInvalidCall,       L""},
    {ErrorKind::kOutOfMemory,       7,   texts::kErrorOutOfMemory,       L""},
    {ErrorKind::kDllLoad,           48,  texts::kErrorDllLoad,           L": "},
    {ErrorKind::kFileNotFound,      53,  texts::kErrorFileNotFound,      L": "},
    {ErrorKind::kDllEntryNotFound,  453, texts::kErrorDllEntryNotFound,  L" "},
    {ErrorKind::kClipboard,         521, texts::kErrorClipboard,         L""},
};
// clang-format on
constexpr size_t kKinds = static_cast<size_t>(ErrorKind::kCount);

// A kind whose row is missing or stands at another kind's place fails to compile, and the
// compiler's message names the kind ("with platform::ErrorKind Kind = ...").
template <ErrorKind Kind>
constexpr bool HasItsRow() {
  static_assert(static_cast<size_t>(Kind) < std::size(kErrors) &&
                    kErrors[static_cast<size_t>(Kind)].kind == Kind,
                "this kind of error has no row at its own place in kErrors");
  return true;
}
template <size_t... Kinds>
constexpr bool EveryKindHasItsRow(std::index_sequence<Kinds...>) {
  return (HasItsRow<static_cast<ErrorKind>(Kinds)>() && ...);
}
static_assert(EveryKindHasItsRow(std::make_index_sequence<kKinds>()) &&
                  std::size(kErrors) == kKinds,
              "one row per kind of error, in the order of ErrorKind");

}  // namespace

RuntimeError::RuntimeError(ErrorKind kind, std::wstring_view of) {
  const ErrorEntry& entry = kErrors[static_cast<int>(kind)];
  number_ = entry.number;
  description_ = entry.description;
  if (!of.empty()) description_.append(entry.beforeWhat).append(of);
}

RuntimeError MissingEntry(std::wstring_view entry, std::wstring_view library) {
  return RuntimeError(ErrorKind::kDllEntryNotFound,
                      std::wstring(entry) + texts::kEntryInLibrary + std::wstring(library));
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
  return texts::kRuntimeErrorBefore + digits + texts::kRuntimeErrorAfter +
         std::wstring(description);
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
int g_endingNumber = 0;  // of the error whose box is up

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
  g_endingNumber = error.number();
  // Taken before they run: a failure inside them, or a second error while the box is up, ends
  // the program without running them again.
  if (const LastWords lastWords = std::exchange(g_lastWords, nullptr))
    lastWords(g_lastWordsContext);
  // Task-modal and owner-less: the main window may be half built or not shown yet, and the
  // box must still come up in front.
  ::MessageBoxW(nullptr, RuntimeErrorText(error).c_str(), texts::kErrorBoxTitle,
                MB_OK | MB_ICONERROR | MB_TASKMODAL | MB_SETFOREGROUND);
  ::ExitProcess(static_cast<UINT>(error.number()));
}

void EndShownRuntimeErrorNow() noexcept { ::ExitProcess(static_cast<UINT>(g_endingNumber)); }

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
