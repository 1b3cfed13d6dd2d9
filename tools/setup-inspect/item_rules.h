#pragma once

#include <cstdint>

#include "app/item_table.h"
#include "host/resources.h"
#include "tools/setup-inspect/dry_run_installer.h"
#include "tools/setup-inspect/package_findings.h"

namespace velbor {

// 0 for a descriptor that is there; else the failure its reading meets: 326 when
// its string block is missing, 9 when it is empty, as an absent string in a present
// block reads.
std::int32_t MissingDescriptor(Resources& program, std::int32_t item);

// Item `item`'s descriptor is missing: one fault for it and the ones after it that
// are missing alike. Answers the last item the fault covers.
std::int32_t ReportMissingDescriptors(PackageFindings& inspection, Resources& program,
                                      std::int32_t item, std::int32_t lastIndex);

// Item `item` as the installer reads, places, writes and registers it: the item
// found, and the faults it meets.
void InspectItem(PackageFindings& inspection, DryRunInstaller& installer, ItemTable& table,
                 std::int32_t item);

// Items that write the same file, as Windows compares names.
void CheckSameFiles(PackageFindings& inspection);

}  // namespace velbor
