#pragma once

#include <cstdint>
#include <variant>
#include <vector>

#include "host/text.h"

namespace velbor {

// What ReadValue hands back: nothing yet, or one of a text, the bytes of a value
// (bounds 0 to n-1) and a number.
using RegBytes = std::vector<std::uint8_t>;
using RegValue = std::variant<std::monostate, Text, RegBytes, double>;

// The form in which ReadValue is asked to deliver a value; any other number lets
// the value's registry type decide.
enum class ValueKind : std::int32_t { kText = 0, kBytes = 1, kNumber = 2 };

}  // namespace velbor
