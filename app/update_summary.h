#pragma once

#include "app/item_table.h"
#include "host/resources.h"
#include "host/text.h"

namespace velbor {

// What a stopped update tells the user of its items. The names of the items done
// and those of all the others, each in index order and joined by ", ", make two
// lists; each list that is not empty text gives one line, "Elenco file
// aggiornati: " or "Elenco file NON aggiornati: " followed by the list, with a
// blank line between the two, and a blank line after the last. Lines end with
// "\r\n". A file not updated is followed by who held it, where the table names
// them: "Brevanti.zip (in uso da Corsenta.exe (PID 412))". Items that no pass has read yet are
// named from their descriptors in `package`.
Text UpdateSummary(const ItemTable& table, Resources& package);

}  // namespace velbor
