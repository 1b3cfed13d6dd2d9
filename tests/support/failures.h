#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "gtest/gtest.h"
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

// Whether `action` fails with exactly `number`; says what it did otherwise.
inline ::testing::AssertionResult FailsWith(std::int32_t number,
                                            const std::function<void()>& action) {
  const std::optional<HostFailure> failure = FailureOf(action);
  if (!failure) return ::testing::AssertionFailure() << "did not fail";
  if (failure->Number() == number) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "failed with " << failure->what();
}

}  // namespace velbor::testing
