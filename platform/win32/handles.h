// Owners of Win32 handles, so that nothing leaks on any path.
#pragma once

#include <windows.h>

#include <utility>

namespace tarvex::win32 {

// One handle and the function that frees it.
template <typename Handle, auto Free, Handle Empty = Handle{}>
class Owned {
 public:
  Owned() = default;
  explicit Owned(Handle handle) : handle_(handle) {}
  Owned(Owned&& other) noexcept : handle_(std::exchange(other.handle_, Empty)) {}
  Owned& operator=(Owned&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.handle_, Empty));
    return *this;
  }
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;
  ~Owned() { Reset(); }

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != Empty; }
  void Reset(Handle handle = Empty) {
    if (handle_ != Empty) Free(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_ = Empty;
};

using IconHandle = Owned<HICON, DestroyIcon>;
using MenuHandle = Owned<HMENU, DestroyMenu>;
using KernelHandle = Owned<HANDLE, CloseHandle>;

}  // namespace tarvex::win32
