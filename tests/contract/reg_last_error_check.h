#pragma once

#include <cstdint>

#include "gtest/gtest.h"
#include "host/text.h"
#include "registry/reg_last_error.h"

namespace velbor::testing {

// Whether `error` records `number` with `description` from the registry library,
// or, for number 0, is clear.
inline ::testing::AssertionResult RecordIs(const RegLastError& error, std::int32_t number,
                                           TextView description) {
  const TextView source = number == 0 ? TextView() : TextView(kRegErrorSource);
  if (error.Number == number && error.Description == description && error.Source == source) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure()
         << "the record holds " << error.Number << " \"" << Utf8FromText(error.Description)
         << "\" from \"" << Utf8FromText(error.Source) << "\"";
}

inline ::testing::AssertionResult IsClear(const RegLastError& error) {
  return RecordIs(error, 0, TextView());
}

}  // namespace velbor::testing
