#pragma once

#include <vector>

#include "app/item_table.h"
#include "host/text.h"

namespace velbor {

struct ItemReportLine {
  Text file;
  bool done = false;
};

// Every item's file name and whether it is done, in index order.
std::vector<ItemReportLine> ReportItems(const ItemTable& table);

}  // namespace velbor
