#pragma once

#include <cstddef>
#include <cstdint>
#include <new>

namespace velbor {

// An allocator for storage whose size comes from outside the program. It allocates
// without throwing and reports a refusal as std::bad_alloc itself: under
// AddressSanitizer a failed throwing operator new aborts the process instead of
// throwing, which would turn an out-of-memory failure into a crash.
//
// It also refuses anything larger than a 32-bit address space could hold. The
// shipped program is 32-bit, and an overcommitting 64-bit system would otherwise
// hand out storage that constructing its elements then exhausts.
template <typename T>
class NothrowAllocator {
 public:
  using value_type = T;

  static constexpr std::uint64_t kMaxBytes = 0xFFFF'FFFFu;

  NothrowAllocator() = default;
  template <typename U>
  NothrowAllocator(const NothrowAllocator<U>&) noexcept {}

  T* allocate(std::size_t count) {
    if (count > max_size()) throw std::bad_alloc();
    void* storage = ::operator new(count * sizeof(T), std::nothrow);
    if (storage == nullptr) throw std::bad_alloc();
    return static_cast<T*>(storage);
  }

  void deallocate(T* storage, std::size_t) noexcept { ::operator delete(storage); }

  std::size_t max_size() const noexcept { return static_cast<std::size_t>(kMaxBytes / sizeof(T)); }

  template <typename U>
  bool operator==(const NothrowAllocator<U>&) const noexcept {
    return true;
  }
};

}  // namespace velbor
