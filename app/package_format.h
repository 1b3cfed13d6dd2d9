#pragma once

#include <cstdint>

namespace velbor {

// Where the installer finds its package among its own resources: the item count is
// string 100; item i's descriptor string and its bytes both carry number 101 + i,
// the bytes under the resource type "CUSTOM".
inline constexpr std::int32_t kItemCountResource = 100;
inline constexpr std::int32_t kFirstItemResource = 101;
inline constexpr char16_t kItemBytesType[] = u"CUSTOM";
// The registration flag of a descriptor that asks for the file to be registered
// once it is written.
inline constexpr char16_t kRegisterFlag[] = u"S";

}  // namespace velbor
