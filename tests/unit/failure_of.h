#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "host/failure.h"

namespace velbor::testing {

// The failure that `action` raises, if any.
inline std::optional<HostFailure> FailureOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const HostFailure& failure) {
    return failure;
  }
  return std::nullopt;
}

// The number of the failure that `action` raises, 0 when it raises none.
inline std::int32_t FailureNumberOf(const std::function<void()>& action) {
  const std::optional<HostFailure> failure = FailureOf(action);
  return failure ? failure->Number() : 0;
}

}  // namespace velbor::testing
