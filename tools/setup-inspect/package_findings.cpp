#include "tools/setup-inspect/package_findings.h"

#include <optional>

#include "app/item_count.h"
#include "app/item_descriptor.h"
#include "app/item_table.h"
#include "host/failure.h"
#include "package/package_format.h"
#include "package/string_block.h"
#include "tools/setup-inspect/dry_run_installer.h"
#include "tools/setup-inspect/item_rules.h"
#include "tools/setup-inspect/resource_scan.h"
#include "tools/setup-inspect/stream_findings.h"

namespace velbor {
namespace {

// What the program as a whole shows before any item is read.
void CheckProgram(PackageFindings& inspection, PeResources& program) {
  for (const std::string& damage : program.Damage()) {
    inspection.faults.push_back(fault::ProgramDamaged(damage));
  }
  if (inspection.imageSize > kLargestStartableImage) {
    inspection.faults.push_back(fault::ImageTooLarge(inspection.imageSize, kLargestStartableImage));
  }
  if (program.ResourceSize(kPayloadDigestsResource, kPayloadDigestsType) == 0) {
    inspection.faults.push_back(fault::NoDigestsCarried());
  }
}

// The item table as the start button sizes it from the count; nothing, with the
// fault, when the count cannot size it.
std::optional<ItemTable> SizedTable(PackageFindings& inspection, DryRunInstaller& installer) {
  PeResources& program = installer.Program();
  Text count;
  std::int32_t lastIndex = -1;
  try {
    count = program.LoadResourceText(kItemCountResource);
    lastIndex = LastIndexFromCount(count);
  } catch (const HostFailure&) {
  }
  // Larger counts name items that no resource number can carry.
  constexpr std::int32_t kLargestLastIndex = kLargestResourceId - kFirstItemResource;
  if (lastIndex > kLargestLastIndex) {
    inspection.faults.push_back(
        fault::CountTooLarge(kItemCountResource, count, kLargestLastIndex + 1));
    return std::nullopt;
  }
  try {
    return ItemTable::SizedFromPackage(program);
  } catch (const HostFailure& caught) {
    inspection.faults.push_back(
        fault::CountUnreadable(kItemCountResource, caught.Number(), count, installer.PressBox()));
    return std::nullopt;
  }
}

void InspectItems(PackageFindings& inspection, DryRunInstaller& installer, ItemTable& table) {
  PeResources& program = installer.Program();
  // The descriptors together cannot hold more text than the file has bytes,
  // unless their string blocks share bytes: a few megabytes would then read as
  // gigabytes of descriptors.
  std::uint64_t textLeft = program.FileSize();
  for (std::int32_t item = 0; item <= table.LastIndex(); ++item) {
    if (MissingDescriptor(program, item) != 0) {
      item = ReportMissingDescriptors(inspection, program, item, table.LastIndex());
      continue;
    }
    const std::size_t length = program.LoadResourceText(ItemResourceNumber(item)).size();
    if (length > textLeft) {
      inspection.faults.push_back(fault::DescriptorsShareBytes(item, table.LastIndex() + 1));
      return;
    }
    textLeft -= length;
    InspectItem(inspection, installer, table, item);
  }
}

}  // namespace

PackageFindings InspectPackage(PeResources& program, const Sha256& sha256) {
  PackageFindings inspection{program.Is64Bit(), program.ImageSize(), {}, {}};
  CheckProgram(inspection, program);
  DryRunInstaller installer(program, sha256);
  std::optional<ItemTable> table = SizedTable(inspection, installer);
  if (!table) return inspection;
  InspectItems(inspection, installer, *table);
  InspectStream(inspection, program, sha256);
  CheckSameFiles(inspection);
  CheckResources(inspection, program, table->LastIndex());
  return inspection;
}

}  // namespace velbor
