#pragma once

#include "host/file_system.h"

namespace velbor {

// The files of the computer through the wide Win32 file API.
class Win32FileSystem final : public FileSystem {
 public:
  Text FindFileName(const Text& path) override;
  void DeleteFile(const Text& path) override;

  // Writes a temporary file beside the target, forces it to the disk and renames it
  // over the target through its own handle, so that a failure at any point, a kill
  // or a power cut included, leaves the old file as it was and no temporary file.
  void WriteWholeFile(const Text& path, ByteView bytes) override;

  // Opened for reading, shared for reading only (win32_file_hold.cpp).
  SharedFileHold HoldFile(const Text& path, ByteView expected) override;
};

}  // namespace velbor
