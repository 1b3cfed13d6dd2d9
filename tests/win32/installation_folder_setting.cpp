#include "tests/win32/installation_folder_setting.h"

#include <stdexcept>

namespace velbor::testing {
namespace {

// Below HKEY_LOCAL_MACHINE\Software, which is opened in the chosen view first: the
// tree functions take no view of their own.
constexpr wchar_t kMakerKey[] = L"Velbor";
constexpr wchar_t kInstallationKey[] = L"Velbor\\Installazione";
constexpr wchar_t kFolderValue[] = L"strPath";

// An open key, closed when it goes; null when it could not be opened.
class OpenKey {
 public:
  OpenKey() = default;
  OpenKey(const OpenKey&) = delete;
  OpenKey& operator=(const OpenKey&) = delete;
  ~OpenKey() {
    if (key_ != nullptr) RegCloseKey(key_);
  }

  HKEY Get() const { return key_; }
  HKEY* Receiver() { return &key_; }

 private:
  HKEY key_ = nullptr;
};

// Opens HKEY_LOCAL_MACHINE\Software in `view`; answers whether it could.
bool OpenSoftware(REGSAM view, OpenKey& key) {
  return RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software", 0, KEY_ALL_ACCESS | view, key.Receiver()) ==
         ERROR_SUCCESS;
}

// Opens the key below `software`, or makes it; answers whether it made it.
bool OpenOrMake(HKEY software, const wchar_t* path, OpenKey& key) {
  DWORD disposition = 0;
  if (RegCreateKeyExW(software, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.Receiver(),
                      &disposition) != ERROR_SUCCESS) {
    throw std::runtime_error("cannot open or make a key of the maker");
  }
  return disposition == REG_CREATED_NEW_KEY;
}

}  // namespace

InstallationFolderSetting::InstallationFolderSetting(const std::wstring& folder, REGSAM view)
    : view_(view) {
  OpenKey software;
  if (!OpenSoftware(view_, software)) throw std::runtime_error("cannot open the Software key");
  OpenKey maker;
  madeMakerKey_ = OpenOrMake(software.Get(), kMakerKey, maker);
  OpenKey installation;
  madeInstallationKey_ = OpenOrMake(software.Get(), kInstallationKey, installation);

  SavedValue saved;
  DWORD size = 0;
  if (RegQueryValueExW(installation.Get(), kFolderValue, nullptr, &saved.type, nullptr, &size) ==
      ERROR_SUCCESS) {
    saved.data.resize(size);
    if (RegQueryValueExW(installation.Get(), kFolderValue, nullptr, &saved.type, saved.data.data(),
                         &size) == ERROR_SUCCESS) {
      saved.data.resize(size);
      previous_ = std::move(saved);
    }
  }
  if (RegSetValueExW(installation.Get(), kFolderValue, 0, REG_SZ,
                     reinterpret_cast<const BYTE*>(folder.c_str()),
                     static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t))) != ERROR_SUCCESS) {
    throw std::runtime_error("cannot set the installation folder");
  }
}

InstallationFolderSetting::~InstallationFolderSetting() {
  OpenKey software;
  if (!OpenSoftware(view_, software)) return;
  if (madeMakerKey_ || madeInstallationKey_) {
    RegDeleteTreeW(software.Get(), madeMakerKey_ ? kMakerKey : kInstallationKey);
    return;
  }
  OpenKey installation;
  if (RegOpenKeyExW(software.Get(), kInstallationKey, 0, KEY_SET_VALUE, installation.Receiver()) !=
      ERROR_SUCCESS) {
    return;
  }
  if (previous_) {
    RegSetValueExW(installation.Get(), kFolderValue, 0, previous_->type, previous_->data.data(),
                   static_cast<DWORD>(previous_->data.size()));
  } else {
    RegDeleteValueW(installation.Get(), kFolderValue);
  }
}

}  // namespace velbor::testing
