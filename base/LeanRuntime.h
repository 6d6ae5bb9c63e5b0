#pragma once
// The C++ runtime's few ways out, routed through the binary's own failure path.
//
// libstdc++ reports a container's bad index or size through std::__throw_* helpers, and an
// escaped exception through its default terminate handler. Its own versions bring in the name
// demangler, the old-ABI string and printf (more than the program's own code many times over,
// in a file every user downloads). LeanRuntime.cpp defines them instead, and each binary says
// here what they end in.

namespace lean_runtime {

enum class LibraryError {
  kOutOfMemory,  // a size past what can be allocated
  kBadArgument,  // an index out of range, an invalid argument, a failed cast
};

// Raises the binary's own exception for a failure the standard library detected.
[[noreturn]] void Throw(LibraryError error);
// Called when an exception escapes where none may, or terminate is called; never returns.
[[noreturn]] void Terminate() noexcept;

}  // namespace lean_runtime
