#include "tools/setup-inspect/mapped_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <limits>
#include <string>

namespace velbor {
namespace {

[[noreturn]] void Fail(const std::filesystem::path& path, const char* what) {
  throw UnopenableFile(path.string() + ": " + what + ": " + std::strerror(errno));
}

// File descriptors from open: -1 means none.
struct DescriptorTraits {
  using Handle = int;
  static Handle Invalid() noexcept { return -1; }
  static bool Close(Handle descriptor) noexcept { return close(descriptor) == 0; }
};

}  // namespace

bool MappedFile::ViewTraits::Close(Handle view) noexcept {
  // The view's address came from mmap, which takes it back as writable memory.
  return munmap(const_cast<std::uint8_t*>(view.data), view.size) == 0;
}

MappedFile::MappedFile(const std::filesystem::path& path) {
  // Closed once mapped: the mapping outlives the descriptor.
  const UniqueHandle<DescriptorTraits> file(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY));
  if (!file.IsValid()) Fail(path, "cannot open it");
  struct stat status {};
  if (fstat(file.Get(), &status) != 0) Fail(path, "cannot examine it");
  if (!S_ISREG(status.st_mode)) {
    errno = EINVAL;
    Fail(path, "not a regular file");
  }
  if (status.st_size == 0) return;
  if (static_cast<std::uintmax_t>(status.st_size) > std::numeric_limits<std::size_t>::max()) {
    errno = EFBIG;
    Fail(path, "cannot map it");
  }
  const auto size = static_cast<std::size_t>(status.st_size);
  void* view = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, file.Get(), 0);
  if (view == MAP_FAILED) Fail(path, "cannot map it");
  view_ = UniqueHandle<ViewTraits>({static_cast<const std::uint8_t*>(view), size});
}

}  // namespace velbor
