#include "tests/doubles/memory_resources.h"

#include "host/failure.h"
#include "tests/doubles/case_folding.h"

namespace velbor::testing {

void MemoryResources::SetText(std::int32_t number, Text text) { texts_[number] = std::move(text); }

void MemoryResources::RemoveText(std::int32_t number) { texts_.erase(number); }

void MemoryResources::SetBytes(std::int32_t number, const Text& typeName,
                               std::vector<std::uint8_t> bytes) {
  byteStore_.push_back(std::move(bytes));
  byteEntries_[{number, FoldCase(typeName)}] = byteStore_.size() - 1;
}

Text MemoryResources::TextOf(std::int32_t number) const {
  const auto entry = texts_.find(number);
  if (entry == texts_.end()) throw HostFailure::ResourceNotFound(number);
  return entry->second;
}

ByteView MemoryResources::BytesOf(std::int32_t number, const Text& typeName) const {
  const auto entry = byteEntries_.find({number, FoldCase(typeName)});
  if (entry == byteEntries_.end()) throw HostFailure::ResourceNotFound(number);
  return byteStore_[entry->second];
}

}  // namespace velbor::testing
