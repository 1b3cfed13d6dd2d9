#pragma once

#include <cstdint>

namespace velbor {

// Where the installer finds its package among its own resources: the item count is
// string 100; item i's descriptor string and its bytes both carry number 101 + i,
// the bytes under the resource type "CUSTOM".
inline constexpr std::int32_t kItemCountResource = 100;
inline constexpr std::int32_t kFirstItemResource = 101;
inline constexpr char16_t kItemBytesType[] = u"CUSTOM";
// The SHA-256 of every item's bytes, made when the package is built: item i's 32
// bytes at offset 32 * i of the resource numbered 1 of its own type, outside the
// numbers and the type that the package uses.
inline constexpr std::int32_t kPayloadDigestsResource = 1;
inline constexpr char16_t kPayloadDigestsType[] = u"PAYLOADSHA256";

// The registration flag of a descriptor that asks for the file to be registered
// once it is written.
inline constexpr char16_t kRegisterFlag[] = u"S";

}  // namespace velbor
