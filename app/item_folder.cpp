#include "app/item_folder.h"

#include "host/failure.h"

namespace velbor {

Text CachedItemFolder(ItemTable& table, std::int32_t item, const TemplateResolver& resolve) {
  // A copy, and no reference into the table held across the resolver: it may show
  // modal boxes, during which the window's other handlers run.
  const Text targetTemplate = table.ItemTarget(item);
  for (std::int32_t slot = 0; slot <= table.LastIndex(); ++slot) {
    if (table.PathCache(slot, 0).empty()) {
      table.PathCache(slot, 0) = targetTemplate;
      Text folder;
      try {
        folder = resolve(targetTemplate);
      } catch (...) {
        // A slot without its folder would answer the empty text for this template
        // from now on; free it so that the template is resolved again.
        table.PathCache(slot, 0).clear();
        throw;
      }
      table.PathCache(slot, 1) = folder;
      return folder;
    }
    if (table.PathCache(slot, 0) == targetTemplate) return table.PathCache(slot, 1);
  }
  // Only templates that changed since they were cached can fill every slot;
  // failing is better than writing the item into another item's folder.
  throw HostFailure(failure::kSubscriptOutOfRange);
}

}  // namespace velbor
