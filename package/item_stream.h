#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "host/resources.h"
#include "host/stored_bytes.h"

namespace velbor {

// The largest window the stream of items stored together may ask for. Measured on
// a package of 191 libraries (README, "Payloads stored compressed"): each doubling
// up to 32 MiB saved download; the decoder's round buffer of about 32 MiB keeps
// the 32-bit installer's peak private bytes well below 80 MiB.
inline constexpr int kItemStreamWindowLog = 25;

// One record of the stream's table, 32 bytes, little-endian: the item's number, 4
// zero bytes, the offset and size of its content in the decoded stream, and the
// XXH64 (seed 0) of that content. Records follow one another in item order.
inline constexpr std::size_t kStreamRecordSize = 32;

struct StreamRecord {
  std::int32_t number = 0;
  ContentPlace place;
};

// The records of `table`; nothing when its size is not a whole number of records.
std::optional<std::vector<StreamRecord>> StreamRecords(ByteView table);

// The place of item `number` in the stream that `table` describes; nothing when
// the table has no record of it.
std::optional<ContentPlace> FindStreamPlace(ByteView table, std::int32_t number);

// `record` as the table holds it.
std::vector<std::uint8_t> RecordBytes(const StreamRecord& record);

}  // namespace velbor
