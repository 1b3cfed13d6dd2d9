#include "host/string_block.h"

#include <cstring>

#include "host/failure.h"

namespace velbor {

Text StringFromBlock(ByteView block, std::int32_t index, std::int32_t number) {
  std::size_t offset = 0;
  const auto readUnit = [&]() -> char16_t {
    if (block.size() - offset < sizeof(char16_t)) throw HostFailure::ResourceNotFound(number);
    char16_t unit;
    std::memcpy(&unit, block.data() + offset, sizeof unit);
    offset += sizeof unit;
    return unit;
  };
  for (std::int32_t entry = 0;; ++entry) {
    const std::size_t length = readUnit();
    if (block.size() - offset < length * sizeof(char16_t)) {
      throw HostFailure::ResourceNotFound(number);
    }
    if (entry == index) {
      Text text(length, u'\0');
      std::memcpy(text.data(), block.data() + offset, length * sizeof(char16_t));
      return text;
    }
    offset += length * sizeof(char16_t);
  }
}

}  // namespace velbor
