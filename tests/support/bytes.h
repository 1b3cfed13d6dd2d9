#pragma once

#include <cstdint>
#include <vector>

namespace velbor::testing {

// A file's or a resource's content, as the tests build and compare it.
using Bytes = std::vector<std::uint8_t>;

}  // namespace velbor::testing
