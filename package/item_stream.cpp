#include "package/item_stream.h"

namespace velbor {
namespace {

std::uint64_t ReadLittleEndian(ByteView bytes, std::size_t at, std::size_t size) {
  std::uint64_t value = 0;
  for (std::size_t i = size; i-- > 0;) value = (value << 8) | bytes[at + i];
  return value;
}

void AppendLittleEndian(std::vector<std::uint8_t>& bytes, std::uint64_t value, std::size_t size) {
  for (std::size_t i = 0; i < size; ++i)
    bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

StreamRecord RecordAt(ByteView table, std::size_t at) {
  StreamRecord record;
  record.number = static_cast<std::int32_t>(ReadLittleEndian(table, at, 4));
  record.place.offset = ReadLittleEndian(table, at + 8, 8);
  record.place.size = ReadLittleEndian(table, at + 16, 8);
  record.place.checksum = ReadLittleEndian(table, at + 24, 8);
  return record;
}

}  // namespace

std::optional<std::vector<StreamRecord>> StreamRecords(ByteView table) {
  if (table.size() % kStreamRecordSize != 0) return std::nullopt;
  std::vector<StreamRecord> records;
  records.reserve(table.size() / kStreamRecordSize);
  for (std::size_t at = 0; at < table.size(); at += kStreamRecordSize) {
    records.push_back(RecordAt(table, at));
  }
  return records;
}

std::optional<ContentPlace> FindStreamPlace(ByteView table, std::int32_t number) {
  if (table.size() % kStreamRecordSize != 0) return std::nullopt;
  for (std::size_t at = 0; at < table.size(); at += kStreamRecordSize) {
    const StreamRecord record = RecordAt(table, at);
    if (record.number == number) return record.place;
  }
  return std::nullopt;
}

std::vector<std::uint8_t> RecordBytes(const StreamRecord& record) {
  std::vector<std::uint8_t> bytes;
  bytes.reserve(kStreamRecordSize);
  AppendLittleEndian(bytes, static_cast<std::uint32_t>(record.number), 8);
  AppendLittleEndian(bytes, record.place.offset, 8);
  AppendLittleEndian(bytes, record.place.size, 8);
  AppendLittleEndian(bytes, record.place.checksum, 8);
  return bytes;
}

}  // namespace velbor
