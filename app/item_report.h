#pragma once

#include <vector>

#include "app/item_table.h"
#include "host/resources.h"
#include "host/text.h"

namespace velbor {

struct ItemReportLine {
  Text file;
  bool done = false;
};

// Every item's file name and whether it is done, in index order. An item that no
// pass has read yet is named from its descriptor in `package`.
std::vector<ItemReportLine> ReportItems(const ItemTable& table, Resources& package);

}  // namespace velbor
