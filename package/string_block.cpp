#include "package/string_block.h"

#include <cstring>

#include "host/failure.h"

namespace velbor {

ByteView StringUnitsInBlock(ByteView block, std::int32_t index, std::int32_t number) {
  std::size_t offset = 0;
  for (std::int32_t entry = 0;; ++entry) {
    if (block.size() - offset < sizeof(char16_t)) throw HostFailure::ResourceNotFound(number);
    char16_t length;
    std::memcpy(&length, block.data() + offset, sizeof length);
    offset += sizeof length;
    if (block.size() - offset < std::size_t{length} * sizeof(char16_t)) {
      throw HostFailure::ResourceNotFound(number);
    }
    if (entry == index) return block.subspan(offset, std::size_t{length} * sizeof(char16_t));
    offset += std::size_t{length} * sizeof(char16_t);
  }
}

Text StringFromBlock(ByteView block, std::int32_t index, std::int32_t number) {
  const ByteView units = StringUnitsInBlock(block, index, number);
  Text text(units.size() / sizeof(char16_t), u'\0');
  if (!units.empty()) std::memcpy(text.data(), units.data(), units.size());
  return text;
}

}  // namespace velbor
