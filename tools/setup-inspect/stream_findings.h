#pragma once

#include "host/resources.h"
#include "host/sha256.h"
#include "tools/setup-inspect/package_findings.h"

namespace velbor {

// Decodes the stream of the items stored together once, as the installer's passes
// do, forward through the items of `inspection` that lie in it: each one's size and
// SHA-256, or a fault where its place lies outside the decoded stream or overlaps
// another's, its checksum differs, or the stream does not decode whole; and a fault
// for stream content that no item uses. Digests are made by `sha256`.
void InspectStream(PackageFindings& inspection, Resources& program, const Sha256& sha256);

}  // namespace velbor
