#pragma once

#include "host/installer_names.h"
#include "host/win32/unique_handle.h"

namespace velbor {

// Frees a boundary descriptor (DeleteBoundaryDescriptor, looked up at run time).
BOOL FreeBoundaryDescriptor(HANDLE boundary) noexcept;
// Closes a private namespace, which stays for as long as a handle to it is open
// (ClosePrivateNamespace, looked up at run time).
BOOL ClosePrivateNamespaceHandle(HANDLE space) noexcept;

using UniqueBoundary = UniqueHandle<Win32HandleTraits<HANDLE, &FreeBoundaryDescriptor>>;
using UniquePrivateNamespace =
    UniqueHandle<Win32HandleTraits<HANDLE, &ClosePrivateNamespaceHandle>>;

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
  UniqueBoundary boundary_;
  UniquePrivateNamespace namespace_;
  UniqueKernelHandle sign_;
};

}  // namespace velbor
