// Definitions of the standard library's throw helpers and its default terminate handler that
// take the binary's own failure path (LeanRuntime.h). Link this file into a shipped binary
// only: the linker then never pulls libstdc++'s versions in. Should another helper come into
// use, libstdc++'s object holding all of them would be linked too, and the duplicate
// definitions stop the build: add it here.
#include "base/LeanRuntime.h"

using lean_runtime::LibraryError;
using lean_runtime::Throw;

namespace std {
[[noreturn]] void __throw_bad_alloc() { Throw(LibraryError::kOutOfMemory); }
[[noreturn]] void __throw_bad_array_new_length() { Throw(LibraryError::kOutOfMemory); }
[[noreturn]] void __throw_length_error(const char*) { Throw(LibraryError::kOutOfMemory); }
[[noreturn]] void __throw_bad_cast() { Throw(LibraryError::kBadArgument); }
[[noreturn]] void __throw_bad_typeid() { Throw(LibraryError::kBadArgument); }
[[noreturn]] void __throw_bad_exception() { Throw(LibraryError::kBadArgument); }
[[noreturn]] void __throw_logic_error(const char*) { Throw(LibraryError::kBadArgument); }
[[noreturn]] void __throw_domain_error(const char*) { Throw(LibraryError::kBadArgument); }
[[noreturn]] void __throw_invalid_argument(const char*) { Throw(LibraryError::kBadArgument); }
[[noreturn]] void __throw_out_of_range(const char*) { Throw(LibraryError::kBadArgument); }
[[noreturn]] void __throw_out_of_range_fmt(const char*, ...) { Throw(LibraryError::kBadArgument); }
[[noreturn]] void __throw_runtime_error(const char*) { Throw(LibraryError::kBadArgument); }
[[noreturn]] void __throw_range_error(const char*) { Throw(LibraryError::kBadArgument); }
[[noreturn]] void __throw_overflow_error(const char*) { Throw(LibraryError::kBadArgument); }
[[noreturn]] void __throw_underflow_error(const char*) { Throw(LibraryError::kBadArgument); }
}  // namespace std

namespace __gnu_cxx {
// The runtime's default terminate handler, by the name the runtime installs it under.
void __verbose_terminate_handler() { lean_runtime::Terminate(); }
}  // namespace __gnu_cxx
