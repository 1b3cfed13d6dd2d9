#include "package/pe_resources.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <set>

#include "host/failure.h"
#include "package/string_block.h"

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

// The walk reads at most as many bytes as the tree has: a tree whose tables
// overlap would otherwise read one run of entries as thousands of tables.
struct PeResources::Walk {
  ByteView tree;
  std::uint64_t bytesLeft;
  std::set<std::uint32_t> visited;
  bool exhausted;

  bool Spend(std::uint64_t bytes) {
    if (bytes > bytesLeft) exhausted = true;
    if (exhausted) return false;
    bytesLeft -= bytes;
    return true;
  }
};

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

  const std::optional<ByteView> tree = RestOfSection(resourceAddress);
  if (!tree) {
    AddDamage("the resource directory lies outside the file");
    return;
  }
  Walk walk{*tree, tree->size(), {}, false};
  ReadDirectory(walk, 0, 0, ResourceEntry{}, 0, 0);
}

void PeResources::ReadSections(std::uint64_t headerEnd, std::uint16_t count) {
  // The loader refuses more; reading no more also keeps every lookup of an address
  // short, however many resources a hostile tree lists.
  constexpr std::uint16_t kMostSectionsLoaded = 96;
  if (count > kMostSectionsLoaded) {
    AddDamage("the section table lists " + std::to_string(count) + " sections, more than the " +
              std::to_string(kMostSectionsLoaded) + " that Windows loads: it will not start it");
    count = kMostSectionsLoaded;
  }
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
    AddDamage(
        "the file is cut short: its sections reach past its end, and Windows will not start it");
  }
}

std::optional<ByteView> PeResources::RestOfSection(std::uint32_t address) const {
  for (const Section& section : sections_) {
    // Only the bytes that come from the file; the rest of a section reads as zeros.
    const std::uint32_t mapped =
        section.virtualSize == 0 ? section.rawSize : std::min(section.virtualSize, section.rawSize);
    if (address < section.virtualAddress || address - section.virtualAddress >= mapped) continue;
    const std::uint64_t start =
        std::uint64_t{section.rawOffset} + (address - section.virtualAddress);
    const std::uint64_t end =
        std::min<std::uint64_t>(std::uint64_t{section.rawOffset} + mapped, file_.size());
    if (start > end) return std::nullopt;
    // Both lie within the file, so within std::size_t.
    return file_.subspan(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start));
  }
  return std::nullopt;
}

std::optional<ByteView> PeResources::AtAddress(std::uint32_t address, std::uint32_t size) const {
  // An empty resource (windres writes one for an empty file) has no bytes to lie
  // anywhere.
  if (size == 0) return ByteView{};
  const std::optional<ByteView> rest = RestOfSection(address);
  if (!rest || rest->size() < size) return std::nullopt;
  return rest->first(size);
}

const std::pair<const Text, PeResources::KeyId>& PeResources::Intern(Text name) {
  const auto next = static_cast<KeyId>(kLargestResourceId + 1 + names_.size());
  return *names_.try_emplace(std::move(name), next).first;
}

std::optional<PeResources::KeyId> PeResources::Known(const Text& name) const {
  const auto found = names_.find(name);
  if (found == names_.end()) return std::nullopt;
  return found->second;
}

const Text* PeResources::NameAt(Walk& walk, std::uint32_t offset) {
  if (!Holds(walk.tree, offset, 2)) return nullptr;
  const auto length = ReadAt<std::uint16_t>(walk.tree, offset);
  if (!Holds(walk.tree, offset + 2, std::uint64_t{length} * 2)) return nullptr;
  if (!walk.Spend(2 + std::uint64_t{length} * 2)) return nullptr;
  Text name(length, u'\0');
  for (std::uint16_t i = 0; i < length; ++i) {
    name[i] = static_cast<char16_t>(ReadAt<std::uint16_t>(walk.tree, offset + 2 + 2 * i));
  }
  return &Intern(std::move(name)).first;
}

void PeResources::AddDamage(const std::string& damage) {
  for (auto& [text, count] : damage_) {
    if (text == damage) {
      ++count;
      return;
    }
  }
  damage_.emplace_back(damage, 1);
}

std::vector<std::string> PeResources::Damage() const {
  std::vector<std::string> damage;
  for (const auto& [text, count] : damage_) {
    damage.push_back(count == 1 ? text : text + " (" + std::to_string(count) + " times)");
  }
  return damage;
}

void PeResources::ReadDirectory(Walk& walk, std::uint32_t offset, int level,
                                const ResourceEntry& entry, KeyId type, KeyId name) {
  if (!Holds(walk.tree, offset, kDirectoryHeaderSize)) {
    AddDamage("a resource directory lies outside the file");
    return;
  }
  // The directory is a tree: a table met twice would list its resources twice, or
  // loop for ever.
  if (!walk.visited.insert(offset).second) {
    AddDamage("the resource directory loops back on itself");
    return;
  }
  if (!walk.Spend(kDirectoryHeaderSize)) return;
  const std::uint64_t count = std::uint64_t{ReadAt<std::uint16_t>(walk.tree, offset + 12)} +
                              ReadAt<std::uint16_t>(walk.tree, offset + 14);
  const std::uint64_t first = offset + kDirectoryHeaderSize;
  if (!Holds(walk.tree, first, count * kDirectoryEntrySize)) {
    AddDamage("a resource directory is cut short");
    return;
  }
  for (std::uint64_t i = 0; i < count && !walk.exhausted; ++i) {
    ReadEntry(walk, first + i * kDirectoryEntrySize, level, entry, type, name);
  }
  if (walk.exhausted && level == 0) {
    AddDamage(
        "the resource directory's tables overlap: read once, its bytes hold no more entries, "
        "and the rest is not read");
  }
}

void PeResources::ReadEntry(Walk& walk, std::uint64_t at, int level, const ResourceEntry& entry,
                            KeyId type, KeyId name) {
  if (!walk.Spend(kDirectoryEntrySize)) return;
  const std::uint32_t nameField = ReadAt<std::uint32_t>(walk.tree, at);
  const std::uint32_t dataField = ReadAt<std::uint32_t>(walk.tree, at + 4);
  ResourceKey key{static_cast<std::uint16_t>(nameField & 0xFFFF), nullptr};
  KeyId id = key.id;
  if ((nameField & kHighBit) != 0) {
    key.text = NameAt(walk, nameField & ~kHighBit);
    if (key.text == nullptr) {
      if (!walk.exhausted) AddDamage("a resource's name lies outside the file");
      return;
    }
    // Types are looked up regardless of letter case, names exactly.
    id = Intern(level == 0 ? AsciiUpperCased(*key.text) : *key.text).second;
  }
  ResourceEntry child = entry;
  if (level == 0) {
    child.type = key;
    type = id;
  }
  if (level == 1) {
    child.name = key;
    name = id;
  }
  if (level == 2) child.language = key.id;
  const bool isDirectory = (dataField & kHighBit) != 0;
  if (isDirectory != (level < 2)) {
    AddDamage("the resource directory is not three levels deep");
    return;
  }
  if (isDirectory) {
    ReadDirectory(walk, dataField & ~kHighBit, level + 1, child, type, name);
    return;
  }
  if (!Holds(walk.tree, dataField, kDataEntrySize)) {
    AddDamage("a resource's data entry lies outside the file");
    return;
  }
  if (!walk.Spend(kDataEntrySize)) return;
  child.data = AtAddress(ReadAt<std::uint32_t>(walk.tree, dataField),
                         ReadAt<std::uint32_t>(walk.tree, dataField + 4));
  if (!child.data) AddDamage("a resource's bytes lie outside the file");
  index_[{type, name}].push_back(entries_.size());
  entries_.push_back(std::move(child));
}

std::vector<std::vector<const ResourceEntry*>> PeResources::SameTypeAndName() const {
  std::vector<std::vector<const ResourceEntry*>> groups;
  groups.reserve(index_.size());
  for (const auto& [key, positions] : index_) {
    std::vector<const ResourceEntry*>& group = groups.emplace_back();
    for (const std::size_t position : positions) group.push_back(&entries_[position]);
  }
  std::sort(groups.begin(), groups.end(), [](const auto& a, const auto& b) {
    return std::less<const ResourceEntry*>()(a.front(), b.front());
  });
  return groups;
}

const ResourceEntry* PeResources::Find(KeyId type, std::int32_t number) const {
  if (number < 1 || number > kLargestResourceId) return nullptr;
  const auto found = index_.find({type, static_cast<KeyId>(number)});
  if (found == index_.end()) return nullptr;
  for (const std::size_t position : found->second) {
    if (entries_[position].data) return &entries_[position];
  }
  return nullptr;
}

Text PeResources::LoadResourceText(std::int32_t number) {
  if (number < 0 || number > kLargestResourceId) throw HostFailure::ResourceNotFound(number);
  const ResourceEntry* block = Find(kStringType, number / kStringsPerBlock + 1);
  if (block == nullptr) throw HostFailure::ResourceNotFound(number);
  return StringFromBlock(*block->data, number % kStringsPerBlock, number);
}

const ResourceEntry* PeResources::FindNamedType(std::int32_t number, const Text& typeName) const {
  if (typeName.find(u'\0') != Text::npos) return nullptr;
  const std::optional<KeyId> type = Known(AsciiUpperCased(typeName));
  return type ? Find(*type, number) : nullptr;
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
