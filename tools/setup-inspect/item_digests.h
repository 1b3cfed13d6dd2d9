#pragma once

#include <cstdint>

#include "host/resources.h"
#include "host/sha256.h"
#include "tools/setup-inspect/package_findings.h"

namespace velbor {

// Item `item`'s digests, `inspected` holding its bytes as stored, against those
// that `program` carries: of its bytes as stored, which the program checks before
// it writes anything, and of what it writes. Fills in the size and digest of what
// it writes; a compressed item is decoded as the installer does when it writes it.
// Digests are made by `sha256`.
// An item stored together with others is left to InspectStream.
void CheckDigests(PackageFindings& inspection, InspectedItem& inspected, Resources& program,
                  std::int32_t item, const Sha256& sha256);

}  // namespace velbor
