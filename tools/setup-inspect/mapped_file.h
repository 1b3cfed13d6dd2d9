#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <stdexcept>

#include "host/resources.h"
#include "host/unique_handle.h"

namespace velbor {

// A file that cannot be opened or mapped.
class UnopenableFile : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A whole file mapped read-only, so that its bytes are read where they lie and
// never copied. Only regular files are mapped; others fail with UnopenableFile.
class MappedFile {
 public:
  explicit MappedFile(const std::filesystem::path& path);

  ByteView Bytes() const noexcept { return ByteView(view_.Get().data, view_.Get().size); }

 private:
  // The view of the file, unmapped as its system unmaps one (posix/mapped_file.cpp,
  // win32/mapped_file.cpp). An empty file has none.
  struct ViewTraits {
    struct Handle {
      const std::uint8_t* data;
      std::size_t size;
      bool operator==(const Handle&) const = default;
    };
    static Handle Invalid() noexcept { return {nullptr, 0}; }
    static bool Close(Handle view) noexcept;
  };

  UniqueHandle<ViewTraits> view_;
};

}  // namespace velbor
