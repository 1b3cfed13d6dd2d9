#pragma once

#include <optional>
#include <utility>

#include "host/win32/unique_handle.h"

namespace velbor {

// The sign that an installer runs, seen from every session of the machine, SYSTEM's
// included: one installer at a time, whatever its package.
class SingleInstaller {
 public:
  // The sign, for as long as this lives; nothing when another installer has it.
  static std::optional<SingleInstaller> Claim();

 private:
  explicit SingleInstaller(UniqueKernelHandle mutex) : mutex_(std::move(mutex)) {}

  UniqueKernelHandle mutex_;
};

}  // namespace velbor
