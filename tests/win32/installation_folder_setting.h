#pragma once

#include <optional>
#include <string>
#include <vector>

#include "host/win32/windows_api.h"

namespace velbor::testing {

// Points installers at a folder for as long as it lives: "strPath" under
// HKEY_LOCAL_MACHINE\Software\Velbor\Installazione, in the registry view of this
// program, which is also the installers' view, or in the view that `view`
// (KEY_WOW64_32KEY or KEY_WOW64_64KEY) names. Afterwards the value that was there
// is put back, or the value, or the keys made for it, are removed.
class InstallationFolderSetting {
 public:
  explicit InstallationFolderSetting(const std::wstring& folder, REGSAM view = 0);
  InstallationFolderSetting(const InstallationFolderSetting&) = delete;
  InstallationFolderSetting& operator=(const InstallationFolderSetting&) = delete;
  ~InstallationFolderSetting();

 private:
  struct SavedValue {
    DWORD type = 0;
    std::vector<BYTE> data;
  };

  REGSAM view_;
  bool madeMakerKey_ = false;
  bool madeInstallationKey_ = false;
  std::optional<SavedValue> previous_;
};

}  // namespace velbor::testing
