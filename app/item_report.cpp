#include "app/item_report.h"

namespace velbor {

std::vector<ItemReportLine> ReportItems(const ItemTable& table) {
  std::vector<ItemReportLine> lines;
  for (std::int32_t item = 0; item <= table.LastIndex(); ++item) {
    lines.push_back({table.ItemFile(item), table.IsDone(item)});
  }
  return lines;
}

}  // namespace velbor
