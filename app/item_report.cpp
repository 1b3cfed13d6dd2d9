#include "app/item_report.h"

#include "app/item_descriptor.h"

namespace velbor {

std::vector<ItemReportLine> ReportItems(const ItemTable& table, Resources& package) {
  std::vector<ItemReportLine> lines;
  for (std::int32_t item = 0; item <= table.LastIndex(); ++item) {
    const Text& file = table.ItemFile(item);
    lines.push_back(
        {file.empty() ? ItemFileNameInPackage(package, item) : file, table.IsDone(item)});
  }
  return lines;
}

}  // namespace velbor
