#include "host/win32/single_installer.h"

#include "host/win32/windows_api.h"

namespace velbor {

std::optional<SingleInstaller> SingleInstaller::Claim() {
  // In the global namespace, which only administrators and services may create
  // in, so that no ordinary user can hold installations off by taking it first.
  UniqueKernelHandle mutex(CreateMutexW(nullptr, FALSE, L"Global\\VelborSetupRunning"));
  // Refused access means that one made by another account, another installer, exists.
  if (!mutex.IsValid() || GetLastError() == ERROR_ALREADY_EXISTS) return std::nullopt;
  return SingleInstaller(std::move(mutex));
}

}  // namespace velbor
