#pragma once

#include <cstdint>
#include <optional>

#include "host/resources.h"
#include "host/stored_bytes.h"

namespace velbor {

// Where the bytes of the item numbered `number` lie in `package`, as stored:
// compressed when the build stored them so, raw otherwise. Fails with 326 when
// there are none.
StoredBytes LoadItemBytes(Resources& package, std::int32_t number);

// The place of item `number` among the items stored together; nothing when it is
// not one of them.
std::optional<ContentPlace> StreamPlace(Resources& package, std::int32_t number);

// How many bytes the item numbered `number` writes: its content's size; 0 when
// its bytes are missing or do not say.
std::uint64_t ItemContentSize(Resources& package, std::int32_t number);

}  // namespace velbor
