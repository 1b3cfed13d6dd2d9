#pragma once

#include <cstdint>

#include "host/resources.h"
#include "host/text.h"

namespace velbor {

// Resource names given by number are 16-bit and never 0.
inline constexpr std::int32_t kLargestResourceId = 0xFFFF;
// A string table is stored in blocks of sixteen strings; string n lies in the
// block numbered n / 16 + 1.
inline constexpr std::int32_t kStringsPerBlock = 16;

// Reads entry `index` of a string-table block: sixteen entries, each a 16-bit
// length followed by that many UTF-16 units. An absent entry is stored exactly
// like an empty one, as length 0, so within a present block both read as the
// empty text; only a missing block tells a string is absent. A block cut short is
// no string table: failure 326 naming `number`.
Text StringFromBlock(ByteView block, std::int32_t index, std::int32_t number);

// The same entry's UTF-16 units as they lie in the block, not copied.
ByteView StringUnitsInBlock(ByteView block, std::int32_t index, std::int32_t number);

}  // namespace velbor
