#pragma once

#include <utility>

#include "host/file_hold.h"
#include "host/win32/unique_handle.h"

namespace velbor {

// The file opened for reading and shared for reading only: a tool may read and map
// it as an image, while nobody may write, rename or delete it.
class Win32FileHold final : public FileHold {
 public:
  explicit Win32FileHold(UniqueFileHandle file) : file_(std::move(file)) {}

  // The open file, of which a started program inherits a copy.
  HANDLE Handle() const { return file_.Get(); }

 private:
  UniqueFileHandle file_;
};

}  // namespace velbor
