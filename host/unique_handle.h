#pragma once

#include <utility>

namespace velbor {

// Owns one handle of a system's and lets go of it when it goes. Traits give the
// handle's type, the value that means "no handle" and how one is let go of; traits
// that need to know more (a function found at run time) are given as a value, as
// a unique_ptr is given its deleter.
template <typename Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;

  UniqueHandle() = default;
  explicit UniqueHandle(Handle handle, Traits traits = Traits()) noexcept
      : handle_(handle), traits_(traits) {}
  UniqueHandle(UniqueHandle&& other) noexcept
      : handle_(other.Release()), traits_(std::move(other.traits_)) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) {
      Close();
      handle_ = other.Release();
      traits_ = std::move(other.traits_);
    }
    return *this;
  }
  ~UniqueHandle() { Close(); }

  Handle Get() const noexcept { return handle_; }
  bool IsValid() const noexcept { return handle_ != Traits::Invalid(); }

  // Lets go of the handle now, for callers that must know whether that worked (a
  // file's last data may fail to reach the disk only then).
  bool Close() noexcept {
    if (!IsValid()) return true;
    return traits_.Close(Release());
  }

 private:
  Handle Release() noexcept { return std::exchange(handle_, Traits::Invalid()); }

  Handle handle_ = Traits::Invalid();
  [[no_unique_address]] Traits traits_;
};

}  // namespace velbor
