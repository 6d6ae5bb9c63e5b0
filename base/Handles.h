#pragma once
// Move-only owners, one per kind of Windows handle. Each kind knows its own empty value:
// OpenProcess fails with a null handle, CreateToolhelp32Snapshot with INVALID_HANDLE_VALUE,
// so a single "is it valid" test for every kind would close or leak the wrong thing.
#include <windows.h>

#include <utility>

namespace base {

template <class Traits>
class Unique {
 public:
  using Handle = typename Traits::Handle;

  Unique() noexcept = default;
  explicit Unique(Handle h) noexcept : handle_(h) {}
  Unique(Unique&& other) noexcept : handle_(other.release()) {}
  Unique& operator=(Unique&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  Unique(const Unique&) = delete;
  Unique& operator=(const Unique&) = delete;
  ~Unique() { reset(); }

  Handle get() const noexcept { return handle_; }
  explicit operator bool() const noexcept { return handle_ != Traits::empty(); }

  Handle release() noexcept { return std::exchange(handle_, Traits::empty()); }
  void reset(Handle h = Traits::empty()) noexcept {
    Handle old = std::exchange(handle_, h);
    if (old != Traits::empty()) Traits::close(old);
  }

 private:
  Handle handle_ = Traits::empty();
};

// The handle kinds whose failure value is null, each closed by its own call.
template <class H, auto Close>
struct NullIsEmpty {
  using Handle = H;
  static Handle empty() noexcept { return nullptr; }
  static void close(Handle h) noexcept { Close(h); }
};
// CreateFile and CreateToolhelp32Snapshot fail with INVALID_HANDLE_VALUE instead.
struct FileHandleTraits {
  using Handle = HANDLE;
  static Handle empty() noexcept { return INVALID_HANDLE_VALUE; }
  static void close(Handle h) noexcept { ::CloseHandle(h); }
};
// Any GDI object, kept under its own type (HBRUSH, HPEN, HBITMAP, HFONT) so it can be handed
// to the calls that want that type.
template <class H>
inline void DeleteGdiObject(H h) noexcept {
  ::DeleteObject(h);
}

// A COM interface pointer of one reference.
template <class I>
struct ComTraits {
  using Handle = I*;
  static Handle empty() noexcept { return nullptr; }
  static void close(Handle h) noexcept { h->Release(); }
};

using UniqueHandle = Unique<NullIsEmpty<HANDLE, ::CloseHandle>>;  // process, thread, event
using UniqueFile = Unique<FileHandleTraits>;                      // CreateFile, toolhelp snapshot
using UniqueModule = Unique<NullIsEmpty<HMODULE, ::FreeLibrary>>;
using UniqueWindow = Unique<NullIsEmpty<HWND, ::DestroyWindow>>;
template <class H>
using UniqueGdi = Unique<NullIsEmpty<H, DeleteGdiObject<H>>>;
using UniqueGdiObject = UniqueGdi<HGDIOBJ>;
using UniqueMemoryDc = Unique<NullIsEmpty<HDC, ::DeleteDC>>;  // CreateCompatibleDC
using UniqueIcon = Unique<NullIsEmpty<HICON, ::DestroyIcon>>;
template <class I>
using UniqueCom = Unique<ComTraits<I>>;

// Scoped device contexts and selections: every DC taken is given back, every object selected
// into one goes back out.
class Select {
 public:
  Select(HDC dc, HGDIOBJ object) : dc_(dc), old_(object ? ::SelectObject(dc, object) : nullptr) {}
  ~Select() {
    if (old_) ::SelectObject(dc_, old_);
  }
  Select(const Select&) = delete;
  Select& operator=(const Select&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

class PaintDc {
 public:
  explicit PaintDc(HWND window) : window_(window), dc_(::BeginPaint(window, &paint_)) {}
  ~PaintDc() { ::EndPaint(window_, &paint_); }
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

// A window's whole DC (the screen's, for no window).
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(::GetWindowDC(window)) {}
  ~WindowDc() {
    if (dc_) ::ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

}  // namespace base
