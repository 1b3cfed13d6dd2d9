#pragma once

#include <filesystem>
#include <stdexcept>

#include "host/resources.h"

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
  ~MappedFile();
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;

  ByteView Bytes() const noexcept { return bytes_; }

 private:
  ByteView bytes_;
};

}  // namespace velbor
