#pragma once

#include <cstdint>
#include <functional>

#include "app/item_table.h"
#include "host/text.h"

namespace velbor {

// Turns a target template into the folder it stands for; any answer, the empty
// text included, is taken as the folder.
using TemplateResolver = std::function<Text(const Text& targetTemplate)>;

// The folder of item `item`, whose descriptor has been read, through the table's
// folder cache: the first slot holding the item's template (compared exactly)
// gives its folder; a template met for the first time takes the first free slot
// and is resolved there, once until the table is sized again. The empty template
// leaves its slot looking free: it is resolved at every call, and the next
// template takes the same slot.
Text CachedItemFolder(ItemTable& table, std::int32_t item, const TemplateResolver& resolve);

}  // namespace velbor
