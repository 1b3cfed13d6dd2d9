#pragma once

#include <cstdint>

#include "gtest/gtest.h"
#include "host/failure.h"

namespace velbor::testing {

// Runs `operation` and tells whether it failed with exactly `number`.
template <typename Operation>
::testing::AssertionResult FailsWith(std::int32_t number, Operation&& operation) {
  try {
    operation();
  } catch (const HostFailure& failure) {
    if (failure.Number() == number) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "failed with " << failure.what();
  }
  return ::testing::AssertionFailure() << "did not fail";
}

}  // namespace velbor::testing
