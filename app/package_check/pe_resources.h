#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/resources.h"
#include "host/text.h"

namespace velbor {

// A file that is not a Windows program this reader can read: no DOS or PE header,
// or headers that lie outside the file.
class UnreadableProgram : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A resource type or name: a number, or a text when `text` is set.
struct ResourceKey {
  std::uint16_t id = 0;
  std::optional<Text> text;
};

// One resource as the directory lists it. `data` is empty when the directory
// points outside the file's sections.
struct ResourceEntry {
  ResourceKey type;
  ResourceKey name;
  std::uint16_t language = 0;
  std::optional<ByteView> data;
};

// The resources of a PE32 or PE32+ file, read from its bytes as they lie in the
// file (signed or not), the way the system finds them in the loaded image:
// lookups give no language and take the first one listed. Every offset is checked
// against the file, so a cut-short or hostile file gives damage to report, never
// a read outside it. The bytes must outlive this object; nothing is copied.
class PeResources final : public Resources {
 public:
  // Fails with UnreadableProgram when the headers cannot be read.
  explicit PeResources(ByteView file);

  Text LoadResourceText(std::int32_t number) override;
  ByteView LoadResourceBytes(std::int32_t number, const Text& typeName) override;
  std::uint64_t ResourceSize(std::int32_t number, const Text& typeName) override;

  bool Is64Bit() const noexcept { return is64Bit_; }
  // The size of the image the system maps when it starts the program.
  std::uint32_t ImageSize() const noexcept { return imageSize_; }
  const std::vector<ResourceEntry>& Entries() const noexcept { return entries_; }
  // What is wrong with the file's structure, one sentence each.
  const std::vector<std::string>& Damage() const noexcept { return damage_; }

 private:
  struct Section {
    std::uint32_t virtualAddress;
    std::uint32_t virtualSize;
    std::uint32_t rawSize;
    std::uint32_t rawOffset;
  };

  void ReadSections(std::uint64_t headerEnd, std::uint16_t count);
  std::optional<ByteView> AtAddress(std::uint32_t address, std::uint32_t size) const;
  void ReadDirectory(ByteView tree, std::uint32_t offset, int level, ResourceEntry entry,
                     std::set<std::uint32_t>& visited);
  std::optional<Text> NameAt(ByteView tree, std::uint32_t offset);
  const ResourceEntry* Find(std::uint16_t type, const std::optional<Text>& typeName,
                            std::int32_t number) const;
  // The resource `number` of the type named `typeName`, which holds no NUL.
  const ResourceEntry* FindNamedType(std::int32_t number, const Text& typeName) const;

  ByteView file_;
  bool is64Bit_ = false;
  std::uint32_t imageSize_ = 0;
  std::vector<Section> sections_;
  std::vector<ResourceEntry> entries_;
  std::vector<std::string> damage_;
};

}  // namespace velbor
