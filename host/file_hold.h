#pragma once

#include <memory>

namespace velbor {

// A file kept open so that it can be read and loaded but not written, renamed or
// deleted. The file is let go when the last owner of the hold lets go of it and
// every program started with it (Processes::StartProcess) has ended.
class FileHold {
 public:
  virtual ~FileHold() = default;
};

using SharedFileHold = std::shared_ptr<const FileHold>;

}  // namespace velbor
