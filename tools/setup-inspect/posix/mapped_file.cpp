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

// Closed when it goes: the mapping outlives the descriptor.
class Descriptor {
 public:
  explicit Descriptor(int descriptor) : descriptor_(descriptor) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() {
    if (descriptor_ >= 0) close(descriptor_);
  }
  int Get() const { return descriptor_; }

 private:
  int descriptor_;
};

}  // namespace

MappedFile::MappedFile(const std::filesystem::path& path) {
  const Descriptor file(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY));
  if (file.Get() < 0) Fail(path, "cannot open it");
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
  bytes_ = ByteView(static_cast<const std::uint8_t*>(view), size);
}

MappedFile::~MappedFile() {
  // The view's address came from mmap, which takes it back as writable memory.
  if (!bytes_.empty()) munmap(const_cast<std::uint8_t*>(bytes_.data()), bytes_.size());
}

}  // namespace velbor
