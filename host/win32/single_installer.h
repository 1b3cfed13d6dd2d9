#pragma once

#include "host/installer_names.h"
#include "host/win32/unique_handle.h"

namespace velbor {

// A boundary descriptor, which DeleteBoundaryDescriptor frees.
struct BoundaryTraits {
  static HANDLE Invalid() noexcept { return nullptr; }
  static BOOL Close(HANDLE boundary) noexcept;
};

// A private namespace, which stays for as long as a handle to it is open.
struct PrivateNamespaceTraits {
  static HANDLE Invalid() noexcept { return nullptr; }
  static BOOL Close(HANDLE space) noexcept;
};

// The installers' names on Windows: a private namespace bounded by the
// Administrators group, made or opened by every installer and held for the run,
// with the running sign, a mutex, inside. Its functions, of Windows Vista and
// later, are looked up at run time: where they are missing (Wine has none) the
// sign is the global mutex that the system's every session sees.
class Win32InstallerNames final : public InstallerNames {
 public:
  Namespace MakeNamespace() override;
  bool OpenNamespace() override;
  bool TakeRunningSign(bool inNamespace) override;

 private:
  UniqueHandle<BoundaryTraits> boundary_;
  UniqueHandle<PrivateNamespaceTraits> namespace_;
  UniqueKernelHandle sign_;
};

}  // namespace velbor
