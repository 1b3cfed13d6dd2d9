#pragma once

#include <cstdint>

#include "app/item_table.h"
#include "host/resources.h"

namespace velbor {

// The resource number of item `item`: its descriptor string and its bytes both
// carry it. Failure 6 when it lies beyond the 32-bit range.
std::int32_t ItemResourceNumber(std::int32_t item);

// Reads item `item`'s descriptor from the package into its row of the table:
// "file|target template|registration flag|registration kind", split at every "|",
// with every "/" of the template turned into "\". Fields after the fourth are
// ignored. Each field is stored as soon as it is known to be there, so a
// descriptor with fewer than four fields fails with 9 after the fields before the
// missing one have been stored.
void ReadItemDescriptor(Resources& package, ItemTable& table, std::int32_t item);

// The file name in item `item`'s descriptor, without touching the table; an item
// whose descriptor cannot be read is named by its resource number instead.
Text ItemFileNameInPackage(Resources& package, std::int32_t item);

}  // namespace velbor
