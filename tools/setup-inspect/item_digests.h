#pragma once

#include <cstdint>

#include "host/resources.h"
#include "tools/setup-inspect/package_findings.h"
#include "tools/setup-inspect/range_digests.h"

namespace velbor {

// Item `item`'s digests, `inspected` holding its bytes as stored, against those
// that `program` carries: of its bytes as stored, which the program checks before
// it writes anything, and of what it writes. Fills in the size and digest of what
// it writes; a compressed item is decoded as the installer does when it writes it.
// Each distinct range is hashed and decoded once, through `digests`.
// An item stored together with others is left to InspectStream.
void CheckDigests(PackageFindings& inspection, InspectedItem& inspected, Resources& program,
                  std::int32_t item, RangeDigests& digests);

}  // namespace velbor
