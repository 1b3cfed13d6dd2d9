#pragma once

#include "host/file_holders.h"
#include "host/win32/windows_api.h"

namespace velbor {

// Asks the Restart Manager (Windows Vista and later) who holds a file. Its
// library is loaded from the system folder, by its full path, only when first
// needed: it is not one that Windows keeps loaded, and a search for it would
// start in the installer's own folder.
class RestartManagerHolders final : public FileHolders {
 public:
  RestartManagerHolders() = default;
  ~RestartManagerHolders() override;
  RestartManagerHolders(const RestartManagerHolders&) = delete;
  RestartManagerHolders& operator=(const RestartManagerHolders&) = delete;

  std::vector<FileHolder> HoldersOf(const Text& path) noexcept override;

 private:
  HMODULE Library();

  HMODULE library_ = nullptr;
  bool looked_ = false;
};

}  // namespace velbor
