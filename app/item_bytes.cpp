#include "app/item_bytes.h"

#include <optional>

#include "package/package_format.h"
#include "package/zstd_frame.h"

namespace velbor {

StoredBytes LoadItemBytes(Resources& package, std::int32_t number) {
  if (package.ResourceSize(number, kCompressedItemType) > 0) {
    return {package.LoadResourceBytes(number, kCompressedItemType), Storage::kZstd};
  }
  return package.LoadResourceBytes(number, kItemBytesType);
}

std::uint64_t ItemContentSize(Resources& package, std::int32_t number) {
  if (package.ResourceSize(number, kCompressedItemType) == 0) {
    return package.ResourceSize(number, kItemBytesType);
  }
  return ContentSize(LoadItemBytes(package, number)).value_or(0);
}

}  // namespace velbor
