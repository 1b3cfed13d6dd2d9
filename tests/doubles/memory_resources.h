#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <utility>
#include <vector>

#include "host/resources.h"
#include "host/text.h"

namespace velbor::testing {

// The resources of a package held in memory: string-table entries by number, and
// byte resources by number and type name, the type compared without regard to
// letter case as Windows does.
class MemoryResources {
 public:
  void SetText(std::int32_t number, Text text);
  void RemoveText(std::int32_t number);
  void SetBytes(std::int32_t number, const Text& typeName, std::vector<std::uint8_t> bytes);

  // Failure 326 when absent.
  Text TextOf(std::int32_t number) const;
  // Failure 326 when absent. The view stays valid as long as this object, even
  // after the entry is set again, as a running program's resources do.
  ByteView BytesOf(std::int32_t number, const Text& typeName) const;

 private:
  std::map<std::int32_t, Text> texts_;
  std::map<std::pair<std::int32_t, Text>, std::size_t> byteEntries_;
  std::deque<std::vector<std::uint8_t>> byteStore_;
};

}  // namespace velbor::testing
