#pragma once

#include <cstdint>

#include "host/registry_api.h"
#include "host/text.h"
#include "registry/reg_last_error.h"
#include "registry/reg_value.h"

namespace velbor {

// Registry keys named by a key path ("HKEY_LOCAL_MACHINE\Software\Velbor"), values
// read in the form the caller asks for, and the record of the last failure. The
// program makes one, and it holds the process's one failure record.
//
// Operations report failure by their result (-1) and in LastError(). Failures of
// the host's services pass through unchanged, and every key that an operation
// opened for itself is closed before it returns or fails.
class RegistryLibrary {
 public:
  static constexpr RegKey kFailedKey = -1;
  static constexpr std::int32_t kFailure = -1;

  explicit RegistryLibrary(RegistryApi& api) : api_(api) {}
  RegistryLibrary(const RegistryLibrary&) = delete;
  RegistryLibrary& operator=(const RegistryLibrary&) = delete;

  // A handle of the caller's own to the key that `keyPath` names, opened with
  // `access`; missing keys are created on the way when `createMissing` is set.
  // 0 for a path without pieces, which opens nothing; kFailedKey on failure.
  RegKey OpenKeyPath(const Text& keyPath, bool createMissing, std::uint32_t access);

  // 0 when `subKey` exists under the key at `parentPath` afterwards, whether it was
  // created or already there; -1 on failure.
  std::int16_t CreateKey(const Text& parentPath, const Text& subKey);

  // 0, or -1 with the platform's code recorded. Does not clear the record.
  std::int32_t CloseKey(RegKey key);

  // Reads the value `valueName` ("" for the key's default value) of the key at
  // `keyPath` and delivers it in the form `kind` asks for (see ValueKind).
  // 0 on success; `value` is replaced only when the value has data. -1 on failure,
  // with `value` untouched.
  std::int32_t ReadValue(const Text& keyPath, const Text& valueName, RegValue& value,
                         ValueKind kind);

  const RegLastError& LastError() const noexcept { return lastError_; }
  void ClearRegError() noexcept { lastError_ = RegLastError(); }
  void SetLibraryError(std::int32_t code) noexcept { lastError_ = LibraryError(code); }
  void SetSystemError(std::int32_t code) noexcept { lastError_ = SystemError(code); }

 private:
  RegistryApi& api_;
  RegLastError lastError_;
};

}  // namespace velbor
