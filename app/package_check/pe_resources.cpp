#include "app/package_check/pe_resources.h"

#include <algorithm>
#include <cstring>
#include <set>

#include "host/failure.h"
#include "host/string_block.h"

namespace velbor {
namespace {

constexpr std::uint16_t kStringType = 6;
constexpr std::uint32_t kHighBit = 0x80000000u;
constexpr std::size_t kDirectoryHeaderSize = 16;
constexpr std::size_t kDirectoryEntrySize = 8;
constexpr std::size_t kDataEntrySize = 16;
constexpr std::size_t kSectionHeaderSize = 40;
constexpr std::uint32_t kResourceDirectoryIndex = 2;

// Whether `size` bytes from `offset` lie inside `bytes`, without overflowing.
bool Holds(ByteView bytes, std::uint64_t offset, std::uint64_t size) {
  return offset <= bytes.size() && bytes.size() - offset >= size;
}

template <typename Integer>
Integer ReadAt(ByteView bytes, std::uint64_t offset) {
  Integer value = 0;
  for (std::size_t i = 0; i < sizeof(Integer); ++i) {
    value |= static_cast<Integer>(Integer{bytes[static_cast<std::size_t>(offset) + i]} << (8 * i));
  }
  return value;
}

// Reads a header field, which must lie in the file for it to be a program at all.
template <typename Integer>
Integer HeaderField(ByteView file, std::uint64_t offset) {
  if (!Holds(file, offset, sizeof(Integer))) {
    throw UnreadableProgram("the file ends inside its headers");
  }
  return ReadAt<Integer>(file, offset);
}

}  // namespace

PeResources::PeResources(ByteView file) : file_(file) {
  if (file.size() < 64 || file[0] != 'M' || file[1] != 'Z') {
    throw UnreadableProgram("it does not begin as a Windows program does (no \"MZ\" header)");
  }
  const std::uint64_t pe = HeaderField<std::uint32_t>(file, 0x3C);
  if (HeaderField<std::uint32_t>(file, pe) != 0x4550) {
    throw UnreadableProgram("it has no PE header: a DOS program or not a program");
  }
  const auto sectionCount = HeaderField<std::uint16_t>(file, pe + 6);
  const auto optionalSize = HeaderField<std::uint16_t>(file, pe + 20);
  const std::uint64_t optional = pe + 24;
  const auto magic = HeaderField<std::uint16_t>(file, optional);
  if (magic != 0x10B && magic != 0x20B) {
    throw UnreadableProgram("its optional header is neither PE32 nor PE32+");
  }
  is64Bit_ = magic == 0x20B;
  imageSize_ = HeaderField<std::uint32_t>(file, optional + 56);
  const std::uint64_t directories = optional + (is64Bit_ ? 112 : 96);
  const auto directoryCount = HeaderField<std::uint32_t>(file, directories - 4);
  const std::uint64_t resourceField = directories + 8 * kResourceDirectoryIndex;
  std::uint32_t resourceAddress = 0;
  if (directoryCount > kResourceDirectoryIndex && resourceField + 8 <= optional + optionalSize) {
    resourceAddress = HeaderField<std::uint32_t>(file, resourceField);
  }
  ReadSections(optional + optionalSize, sectionCount);
  if (resourceAddress == 0) return;

  const std::optional<ByteView> tree = AtAddress(resourceAddress, 0);
  if (!tree) {
    damage_.emplace_back("the resource directory lies outside the file");
    return;
  }
  std::set<std::uint32_t> visited;
  ReadDirectory(*tree, 0, 0, ResourceEntry{}, visited);
}

void PeResources::ReadSections(std::uint64_t headerEnd, std::uint16_t count) {
  bool cutShort = false;
  for (std::uint16_t i = 0; i < count; ++i) {
    const std::uint64_t at = headerEnd + std::uint64_t{i} * kSectionHeaderSize;
    if (!Holds(file_, at, kSectionHeaderSize)) {
      throw UnreadableProgram("the file ends inside its section table");
    }
    const Section section{
        ReadAt<std::uint32_t>(file_, at + 12), ReadAt<std::uint32_t>(file_, at + 8),
        ReadAt<std::uint32_t>(file_, at + 16), ReadAt<std::uint32_t>(file_, at + 20)};
    cutShort = cutShort || !Holds(file_, section.rawOffset, section.rawSize);
    sections_.push_back(section);
  }
  if (cutShort) {
    damage_.emplace_back(
        "the file is cut short: its sections reach past its end, and Windows will not start it");
  }
}

std::optional<ByteView> PeResources::AtAddress(std::uint32_t address, std::uint32_t size) const {
  for (const Section& section : sections_) {
    // Only the bytes that come from the file; the rest of a section reads as zeros.
    const std::uint32_t mapped =
        section.virtualSize == 0 ? section.rawSize : std::min(section.virtualSize, section.rawSize);
    if (address < section.virtualAddress || address - section.virtualAddress >= mapped) continue;
    const std::uint64_t start =
        std::uint64_t{section.rawOffset} + (address - section.virtualAddress);
    const std::uint64_t end =
        std::min<std::uint64_t>(std::uint64_t{section.rawOffset} + mapped, file_.size());
    if (start > end || end - start < size) return std::nullopt;
    // Both lie within the file, so within std::size_t.
    return file_.subspan(static_cast<std::size_t>(start),
                         static_cast<std::size_t>(size == 0 ? end - start : size));
  }
  return std::nullopt;
}

std::optional<Text> PeResources::NameAt(ByteView tree, std::uint32_t offset) {
  if (!Holds(tree, offset, 2)) return std::nullopt;
  const auto length = ReadAt<std::uint16_t>(tree, offset);
  if (!Holds(tree, offset + 2, std::uint64_t{length} * 2)) return std::nullopt;
  Text name(length, u'\0');
  for (std::uint16_t i = 0; i < length; ++i) {
    name[i] = static_cast<char16_t>(ReadAt<std::uint16_t>(tree, offset + 2 + 2 * i));
  }
  return name;
}

void PeResources::ReadDirectory(ByteView tree, std::uint32_t offset, int level, ResourceEntry entry,
                                std::set<std::uint32_t>& visited) {
  if (!Holds(tree, offset, kDirectoryHeaderSize)) {
    damage_.emplace_back("a resource directory lies outside the file");
    return;
  }
  // The directory is a tree: a table met twice would list its resources twice, or
  // loop for ever.
  if (!visited.insert(offset).second) {
    damage_.emplace_back("the resource directory loops back on itself");
    return;
  }
  const std::uint64_t count = std::uint64_t{ReadAt<std::uint16_t>(tree, offset + 12)} +
                              ReadAt<std::uint16_t>(tree, offset + 14);
  const std::uint64_t first = offset + kDirectoryHeaderSize;
  if (!Holds(tree, first, count * kDirectoryEntrySize)) {
    damage_.emplace_back("a resource directory is cut short");
    return;
  }
  for (std::uint64_t i = 0; i < count; ++i) {
    const std::uint32_t nameField = ReadAt<std::uint32_t>(tree, first + i * kDirectoryEntrySize);
    const std::uint32_t dataField =
        ReadAt<std::uint32_t>(tree, first + i * kDirectoryEntrySize + 4);
    ResourceKey key{static_cast<std::uint16_t>(nameField & 0xFFFF), std::nullopt};
    if ((nameField & kHighBit) != 0) {
      key.text = NameAt(tree, nameField & ~kHighBit);
      if (!key.text) {
        damage_.emplace_back("a resource's name lies outside the file");
        continue;
      }
    }
    ResourceEntry child = entry;
    if (level == 0) child.type = key;
    if (level == 1) child.name = key;
    if (level == 2) child.language = key.id;
    const bool isDirectory = (dataField & kHighBit) != 0;
    if (isDirectory != (level < 2)) {
      damage_.emplace_back("the resource directory is not three levels deep");
      continue;
    }
    if (isDirectory) {
      ReadDirectory(tree, dataField & ~kHighBit, level + 1, child, visited);
      continue;
    }
    if (!Holds(tree, dataField, kDataEntrySize)) {
      damage_.emplace_back("a resource's data entry lies outside the file");
      continue;
    }
    child.data = AtAddress(ReadAt<std::uint32_t>(tree, dataField),
                           ReadAt<std::uint32_t>(tree, dataField + 4));
    if (!child.data) damage_.emplace_back("a resource's bytes lie outside the file");
    entries_.push_back(std::move(child));
  }
}

const ResourceEntry* PeResources::Find(std::uint16_t type, const std::optional<Text>& typeName,
                                       std::int32_t number) const {
  if (number < 1 || number > kLargestResourceId) return nullptr;
  for (const ResourceEntry& entry : entries_) {
    const bool typeMatches =
        typeName ? entry.type.text && EqualIgnoringAsciiCase(*entry.type.text, *typeName)
                 : !entry.type.text && entry.type.id == type;
    if (typeMatches && !entry.name.text && entry.name.id == number && entry.data) return &entry;
  }
  return nullptr;
}

Text PeResources::LoadResourceText(std::int32_t number) {
  if (number < 0 || number > kLargestResourceId) throw HostFailure::ResourceNotFound(number);
  const ResourceEntry* block = Find(kStringType, std::nullopt, number / kStringsPerBlock + 1);
  if (block == nullptr) throw HostFailure::ResourceNotFound(number);
  return StringFromBlock(*block->data, number % kStringsPerBlock, number);
}

const ResourceEntry* PeResources::FindNamedType(std::int32_t number, const Text& typeName) const {
  return typeName.find(u'\0') == Text::npos ? Find(0, typeName, number) : nullptr;
}

ByteView PeResources::LoadResourceBytes(std::int32_t number, const Text& typeName) {
  const ResourceEntry* entry = FindNamedType(number, typeName);
  if (entry == nullptr) throw HostFailure::ResourceNotFound(number);
  return *entry->data;
}

std::uint64_t PeResources::ResourceSize(std::int32_t number, const Text& typeName) {
  const ResourceEntry* entry = FindNamedType(number, typeName);
  return entry == nullptr ? 0 : entry->data->size();
}

}  // namespace velbor
