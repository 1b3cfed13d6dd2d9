#include "app/item_bytes.h"

#include <optional>

#include "package/item_stream.h"
#include "package/package_format.h"
#include "package/zstd_frame.h"

namespace velbor {

std::optional<ContentPlace> StreamPlace(Resources& package, std::int32_t number) {
  if (package.ResourceSize(kItemStreamTableResource, kItemStreamType) == 0) return std::nullopt;
  return FindStreamPlace(package.LoadResourceBytes(kItemStreamTableResource, kItemStreamType),
                         number);
}

StoredBytes LoadItemBytes(Resources& package, std::int32_t number) {
  if (package.ResourceSize(number, kCompressedItemType) > 0) {
    return {package.LoadResourceBytes(number, kCompressedItemType), Storage::kZstd};
  }
  if (const std::optional<ContentPlace> place = StreamPlace(package, number)) {
    return {package.LoadResourceBytes(kItemStreamResource, kItemStreamType), *place};
  }
  return package.LoadResourceBytes(number, kItemBytesType);
}

std::uint64_t ItemContentSize(Resources& package, std::int32_t number) {
  if (package.ResourceSize(number, kCompressedItemType) > 0) {
    return ContentSize(LoadItemBytes(package, number)).value_or(0);
  }
  if (const std::optional<ContentPlace> place = StreamPlace(package, number)) return place->size;
  return package.ResourceSize(number, kItemBytesType);
}

}  // namespace velbor
