#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
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

// A resource type or name: a number, or a text when `text` is set. The text is
// held once by the PeResources that read it, however many entries share it.
struct ResourceKey {
  std::uint16_t id = 0;
  const Text* text = nullptr;
};

// One resource as the directory lists it. `data` is empty when the directory
// points outside the file's sections; it is exactly as long as the data entry
// says, 0 included.
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
// a read outside it. A hostile tree whose tables overlap is walked only as far
// as its bytes could hold it once, so any file is read in time and memory of the
// order of its size. The bytes must outlive this object; nothing is copied.
class PeResources final : public Resources {
 public:
  // Fails with UnreadableProgram when the headers cannot be read.
  explicit PeResources(ByteView file);
  // Entries point at names this object holds.
  PeResources(const PeResources&) = delete;
  PeResources& operator=(const PeResources&) = delete;

  Text LoadResourceText(std::int32_t number) override;
  ByteView LoadResourceBytes(std::int32_t number, const Text& typeName) override;
  std::uint64_t ResourceSize(std::int32_t number, const Text& typeName) override;

  bool Is64Bit() const noexcept { return is64Bit_; }
  std::uint64_t FileSize() const noexcept { return file_.size(); }
  // The size of the image the system maps when it starts the program.
  std::uint32_t ImageSize() const noexcept { return imageSize_; }
  const std::vector<ResourceEntry>& Entries() const noexcept { return entries_; }
  // The entries of each type and name, in the directory's order: the first with
  // bytes is the one lookups find. Groups come in the order they are first listed.
  std::vector<std::vector<const ResourceEntry*>> SameTypeAndName() const;
  // What is wrong with the file's structure, one sentence each; damage met again
  // says how often.
  std::vector<std::string> Damage() const;

 private:
  // A number (below 0x10000) or a name, by the order the names were first met.
  using KeyId = std::uint32_t;
  struct Walk;

  struct Section {
    std::uint32_t virtualAddress;
    std::uint32_t virtualSize;
    std::uint32_t rawSize;
    std::uint32_t rawOffset;
  };

  void ReadSections(std::uint64_t headerEnd, std::uint16_t count);
  // The bytes from `address` to the end of its section's bytes in the file.
  std::optional<ByteView> RestOfSection(std::uint32_t address) const;
  std::optional<ByteView> AtAddress(std::uint32_t address, std::uint32_t size) const;
  void ReadDirectory(Walk& walk, std::uint32_t offset, int level, const ResourceEntry& entry,
                     KeyId type, KeyId name);
  void ReadEntry(Walk& walk, std::uint64_t at, int level, const ResourceEntry& entry, KeyId type,
                 KeyId name);
  // The name at `offset`, or null when it lies outside the tree or the walk's bytes.
  const Text* NameAt(Walk& walk, std::uint32_t offset);
  const std::pair<const Text, KeyId>& Intern(Text name);
  std::optional<KeyId> Known(const Text& name) const;
  void AddDamage(const std::string& damage);
  const ResourceEntry* Find(KeyId type, std::int32_t number) const;
  // The resource `number` of the type named `typeName`, which holds no NUL.
  const ResourceEntry* FindNamedType(std::int32_t number, const Text& typeName) const;

  ByteView file_;
  bool is64Bit_ = false;
  std::uint32_t imageSize_ = 0;
  std::vector<Section> sections_;
  std::vector<ResourceEntry> entries_;
  // Every name met, once; types by their upper-case form too, as lookups compare them.
  std::map<Text, KeyId> names_;
  // Where each type and name lies in entries_.
  std::map<std::pair<KeyId, KeyId>, std::vector<std::size_t>> index_;
  std::vector<std::pair<std::string, std::uint64_t>> damage_;
};

}  // namespace velbor
