#include "host/win32/single_installer.h"

#include "host/win32/windows_api.h"

namespace velbor {

std::optional<SingleInstaller> SingleInstaller::Claim() {
  // In the global namespace, so that installers in every session see it. Any
  // account may create a mutex there, so a user who takes the name first holds
  // installations off (each ends with "try again later"), but gains nothing more.
  UniqueKernelHandle mutex(CreateMutexW(nullptr, FALSE, L"Global\\VelborSetupRunning"));
  // Refused access means that one made by another account, another installer, exists.
  if (!mutex.IsValid() || GetLastError() == ERROR_ALREADY_EXISTS) return std::nullopt;
  return SingleInstaller(std::move(mutex));
}

}  // namespace velbor
