#pragma once

#include <utility>

#include "host/win32/windows_api.h"

namespace velbor {

// Owns one Win32 handle and closes it when it goes. Traits give the value that
// means "no handle" and the function that closes one.
template <typename Traits>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(HANDLE handle) : handle_(handle) {}
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) {
      Close();
      handle_ = other.Release();
    }
    return *this;
  }
  ~UniqueHandle() { Close(); }

  HANDLE Get() const noexcept { return handle_; }
  bool IsValid() const noexcept { return handle_ != Traits::Invalid(); }

  // Closes the handle now, for callers that must know whether closing worked
  // (a file's last data may fail to reach the disk only then).
  bool Close() noexcept {
    if (!IsValid()) return true;
    return Traits::Close(Release()) != FALSE;
  }

 private:
  HANDLE Release() noexcept { return std::exchange(handle_, Traits::Invalid()); }

  HANDLE handle_ = Traits::Invalid();
};

// Handles from CreateFileW: INVALID_HANDLE_VALUE means none.
struct FileHandleTraits {
  static HANDLE Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static BOOL Close(HANDLE handle) noexcept { return CloseHandle(handle); }
};
using UniqueFileHandle = UniqueHandle<FileHandleTraits>;

// Handles of processes and threads: null means none.
struct KernelHandleTraits {
  static HANDLE Invalid() noexcept { return nullptr; }
  static BOOL Close(HANDLE handle) noexcept { return CloseHandle(handle); }
};
using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;

// Searches from FindFirstFileExW, which FindClose ends.
struct FindHandleTraits {
  static HANDLE Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static BOOL Close(HANDLE handle) noexcept { return FindClose(handle); }
};
using UniqueFindHandle = UniqueHandle<FindHandleTraits>;

}  // namespace velbor
