#include "tools/setup-inspect/resource_scan.h"

#include <string>
#include <vector>

#include "app/item_bytes.h"
#include "host/failure.h"
#include "package/package_format.h"
#include "package/string_block.h"
#include "tools/setup-inspect/package_faults.h"

namespace velbor {
namespace {

constexpr std::uint16_t kStringType = 6;

using Group = std::vector<const ResourceEntry*>;

// A hostile file may repeat a finding hundreds of thousands of times: the first
// few are named, the rest counted, so the report stays readable and small.
class FewNamed {
 public:
  static constexpr std::size_t kNamed = 20;

  // Counts one more; answers whether it is among those named.
  bool Add() { return ++count_ <= kNamed; }
  std::size_t Unnamed() const { return count_ > kNamed ? count_ - kNamed : 0; }

 private:
  std::size_t count_ = 0;
};

// Walks the resources one group of a type and a name at a time, and reports what
// it found in the order: cut-short string blocks, unused resources, languages.
class ResourceScan {
 public:
  ResourceScan(PeResources& program, std::int32_t lastIndex)
      : program_(program), lastIndex_(lastIndex) {}

  void Scan(const Group& group) {
    const ResourceEntry& first = *group.front();
    const bool strings = !first.type.text && first.type.id == kStringType;
    if (!strings && !IsItemBytesType(first.type)) return;
    if (group.size() > 1 && manyLanguages_.Add()) NoteLanguages(group);
    if (!strings) {
      if (first.name.text || !IsItem(first.name.id) || Replaced(first)) {
        NoteUnused(fault::ResourceName(first.type, first.name));
      }
    } else if (!first.name.text) {
      for (const ResourceEntry* entry : group) {
        if (entry->data) ScanStrings(*entry->data, first.name.id);
      }
    }
  }

  void Report(PackageFindings& inspection) const {
    std::vector<PackageFault>& faults = inspection.faults;
    faults.insert(faults.end(), cutShortFaults_.begin(), cutShortFaults_.end());
    if (cutShort_.Unnamed() != 0) {
      faults.push_back(fault::MoreStringBlocksCutShort(cutShort_.Unnamed()));
    }
    if (!unusedList_.empty()) {
      std::string names = unusedList_;
      if (unused_.Unnamed() != 0) names += " and " + GroupedDigits(unused_.Unnamed()) + " more";
      faults.push_back(fault::UnusedResources(names, lastIndex_ + 1));
    }
    faults.insert(faults.end(), languageFaults_.begin(), languageFaults_.end());
    if (manyLanguages_.Unnamed() != 0) {
      faults.push_back(fault::MoreInManyLanguages(manyLanguages_.Unnamed()));
    }
  }

 private:
  static bool IsItemBytesType(const ResourceKey& type) {
    return type.text && (EqualIgnoringAsciiCase(*type.text, kItemBytesType) ||
                         EqualIgnoringAsciiCase(*type.text, kCompressedItemType));
  }

  bool IsItem(std::int64_t number) const {
    return number >= kFirstItemResource && number <= std::int64_t{kFirstItemResource} + lastIndex_;
  }

  // An item's CUSTOM resource is not read where the build stored it compressed.
  bool Replaced(const ResourceEntry& first) const {
    return !first.name.text && EqualIgnoringAsciiCase(*first.type.text, kItemBytesType) &&
           (program_.ResourceSize(first.name.id, kCompressedItemType) > 0 ||
            StreamPlace(program_, first.name.id).has_value());
  }

  void NoteLanguages(const Group& group) {
    std::string list;
    for (const ResourceEntry* entry : group) {
      list += (list.empty() ? "" : ", ") + std::to_string(entry->language);
    }
    const ResourceEntry& first = *group.front();
    languageFaults_.push_back(
        fault::ManyLanguages(fault::ResourceName(first.type, first.name), group.size(), list));
  }

  void NoteUnused(const std::string& name) {
    if (unused_.Add()) unusedList_ += (unusedList_.empty() ? "" : ", ") + name;
  }

  // The strings of block `block` that neither the count nor an item's descriptor
  // is; a block cut short is a fault of its own, and the rest of it is not read.
  void ScanStrings(ByteView data, std::uint16_t block) {
    for (std::int32_t index = 0; index < kStringsPerBlock; ++index) {
      const std::int32_t number = (block - 1) * kStringsPerBlock + index;
      if (number == kItemCountResource || IsItem(number)) continue;
      try {
        if (!StringUnitsInBlock(data, index, number).empty()) NoteUnused(fault::StringName(number));
      } catch (const HostFailure&) {
        if (cutShort_.Add()) cutShortFaults_.push_back(fault::StringBlockCutShort(number));
        return;
      }
    }
  }

  PeResources& program_;
  const std::int32_t lastIndex_;
  std::string unusedList_;
  FewNamed unused_;
  FewNamed cutShort_;
  std::vector<PackageFault> cutShortFaults_;
  FewNamed manyLanguages_;
  std::vector<PackageFault> languageFaults_;
};

}  // namespace

void CheckResources(PackageFindings& inspection, PeResources& program, std::int32_t lastIndex) {
  ResourceScan scan(program, lastIndex);
  for (const Group& group : program.SameTypeAndName()) scan.Scan(group);
  scan.Report(inspection);
}

}  // namespace velbor
