#pragma once

#include <cstdint>
#include <vector>

#include "host/text.h"

namespace velbor {

// A program or service that has a file open.
struct FileHolder {
  Text name;  // the program's or the service's name as the system shows it
  std::uint32_t processId = 0;
  bool service = false;
};

// Who keeps a file in use, as the system can tell.
class FileHolders {
 public:
  virtual ~FileHolders() = default;

  // The programs and services that have the file at `path` open; none when the
  // system cannot tell. Never fails: it only explains a failure already met.
  virtual std::vector<FileHolder> HoldersOf(const Text& path) noexcept = 0;
};

}  // namespace velbor
