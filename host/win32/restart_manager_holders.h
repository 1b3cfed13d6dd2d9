#pragma once

#include "host/file_holders.h"
#include "host/win32/unique_handle.h"
#include "host/win32/windows_api.h"

namespace velbor {

// Asks the Restart Manager (Windows Vista and later) who holds a file. Its
// library is loaded from the system folder, by its full path, only when first
// needed: it is not one that Windows keeps loaded, and a search for it would
// start in the installer's own folder.
class RestartManagerHolders final : public FileHolders {
 public:
  std::vector<FileHolder> HoldersOf(const Text& path) noexcept override;

 private:
  HMODULE Library();

  UniqueModule library_;
  bool looked_ = false;
};

}  // namespace velbor
