// Opening, creating and closing keys named by a key path.
#include <optional>
#include <string>
#include <vector>

#include "registry/key_path.h"
#include "registry/opened_keys.h"
#include "registry/registry_library.h"

namespace velbor {

RegKey RegistryLibrary::OpenKeyPath(const Text& keyPath, bool createMissing, std::uint32_t access) {
  ClearRegError();
  const std::optional<std::vector<Text>> parts = SplitKeyPath(keyPath);
  if (!parts) {
    SetLibraryError(reg_error::kTooManyKeys);
    return kFailedKey;
  }
  if (parts->empty()) return 0;
  const std::optional<RegKey> root = PredefinedRoot(parts->front());
  if (!root) {
    SetSystemError(reg::kFileNotFound);
    return kFailedKey;
  }

  // One open per subkey name, then one of the empty name: a handle of the caller's
  // own to the key the path names, which the closing of the others leaves open.
  WalkedKeys walked(api_);
  RegKey current = *root;
  for (std::size_t next = 1; next <= parts->size(); ++next) {
    const Text name = next < parts->size() ? (*parts)[next] : Text();
    const std::string ansiName = api_.AnsiFromText(name);
    RegKey opened = 0;
    std::int32_t status = api_.RegOpenKeyExA(current, ansiName, 0, access, opened);
    if (status == reg::kFileNotFound && createMissing) {
      if (CreateKey(JoinKeyPath(*parts, next), name) != 0) {
        SetSystemError(reg_error::kCreationFailed);
        return kFailedKey;
      }
      status = api_.RegOpenKeyExA(current, ansiName, 0, access, opened);
    }
    if (status != reg::kSuccess) {
      SetSystemError(status);
      return kFailedKey;
    }
    walked.Add(opened);
    current = opened;
  }
  return walked.HandOnLast();
}

std::int16_t RegistryLibrary::CreateKey(const Text& parentPath, const Text& subKey) {
  ClearRegError();
  const RegKey parentKey = OpenKeyPath(parentPath, false, reg::kKeyAllAccess);
  if (parentKey == kFailedKey) return kFailure;
  const OwnKey parent(*this, parentKey);

  RegKey created = 0;
  std::uint32_t disposition = 0;
  const std::int32_t status =
      api_.RegCreateKeyExA(parent.Get(), api_.AnsiFromText(subKey), 0, "", 0, reg::kKeyAllAccess,
                           SecurityAttributes{}, created, disposition);
  if (status != reg::kSuccess) {
    SetSystemError(status);
    return kFailure;
  }
  // Nobody asked for the new key's handle.
  api_.RegCloseKey(created);
  return 0;
}

std::int32_t RegistryLibrary::CloseKey(RegKey key) {
  const std::int32_t status = api_.RegCloseKey(key);
  if (status != reg::kSuccess) {
    SetSystemError(status);
    return kFailure;
  }
  return 0;
}

}  // namespace velbor
