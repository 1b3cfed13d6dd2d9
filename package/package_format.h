#pragma once

#include <cstdint>

namespace velbor {

// Where the installer finds its package among its own resources: the item count is
// string 100; item i's descriptor string and its bytes both carry number 101 + i,
// the bytes under the resource type "CUSTOM", or compressed by the build: stored
// together with the other compressed items (below), or, in a program built before,
// as one zstd frame under a type of the installer's own in its place.
inline constexpr std::int32_t kItemCountResource = 100;
inline constexpr std::int32_t kFirstItemResource = 101;
inline constexpr char16_t kItemBytesType[] = u"CUSTOM";
inline constexpr char16_t kCompressedItemType[] = u"ZSTDITEM";
// The items stored together: resource 1 of this type is one zstd frame of their
// content, one item after the other in item order; resource 2 the table that gives
// each one's place in that content (package/item_stream.h).
inline constexpr char16_t kItemStreamType[] = u"ITEMSTREAM";
inline constexpr std::int32_t kItemStreamResource = 1;
inline constexpr std::int32_t kItemStreamTableResource = 2;
// The SHA-256 of every item, made when the package is built: item i's 32 bytes at
// offset 32 * i of resources of their own type, outside the numbers and the type
// that the package uses. Resource 1 holds those of the bytes as stored, which the
// installer checks before it writes; resource 2 those of the items' own bytes, as
// written, which a maker compares with the files.
inline constexpr std::int32_t kPayloadDigestsResource = 1;
inline constexpr std::int32_t kContentDigestsResource = 2;
inline constexpr char16_t kPayloadDigestsType[] = u"PAYLOADSHA256";

// The registration flag of a descriptor that asks for the file to be registered
// once it is written.
inline constexpr char16_t kRegisterFlag[] = u"S";

}  // namespace velbor
