#include "tools/setup-inspect/item_digests.h"

#include <optional>
#include <utility>

#include "app/payload_check.h"
#include "package/package_format.h"
#include "tools/setup-inspect/package_faults.h"

namespace velbor {
namespace {

// Decodes a compressed item as the installer does when it writes it: its size and
// SHA-256, or a fault when the frame does not decode whole and sound.
void DecodeItem(PackageFindings& inspection, InspectedItem& inspected, RangeDigests& digests) {
  if (const std::optional<DecodedContent> content = digests.Decoded(inspected.stored->bytes)) {
    inspected.digest = content->digest;
    inspected.size = content->size;
  } else {
    inspection.faults.push_back(fault::UndecodableFrame(inspected.number, inspected.file));
  }
}

// The fault of the carried digests, when there is one: the first of them that
// does not match.
std::optional<PackageFault> DigestFault(const InspectedItem& inspected, Resources& program,
                                        std::int32_t item, const Sha256Digest& stored) {
  const std::optional<Sha256Digest> carriedStored = CarriedDigest(program, item);
  if (!carriedStored) return fault::NoItemDigestCarried(inspected.number, inspected.file);
  if (*carriedStored != stored) {
    return fault::StoredDigestDiffers(inspected.number, inspected.file,
                                      inspected.stored->storage == Storage::kZstd, *carriedStored);
  }
  if (inspected.digest && inspected.carried != inspected.digest) {
    return fault::ContentDigestDiffers(inspected.number, inspected.file, inspected.carried);
  }
  return std::nullopt;
}

}  // namespace

void CheckDigests(PackageFindings& inspection, InspectedItem& inspected, Resources& program,
                  std::int32_t item, RangeDigests& digests) {
  inspected.carried = CarriedContentDigest(program, item);
  // An item stored together with others is checked with its stream, which is
  // hashed and decoded once for all of them (stream_findings.h).
  if (inspected.stored->storage == Storage::kInStream) return;
  const Sha256Digest stored = digests.Stored(inspected.stored->bytes);
  if (inspected.stored->storage == Storage::kZstd) {
    DecodeItem(inspection, inspected, digests);
  } else {
    inspected.digest = stored;
    inspected.size = inspected.stored->bytes.size();
  }
  if (program.ResourceSize(kPayloadDigestsResource, kPayloadDigestsType) == 0) return;
  if (std::optional<PackageFault> found = DigestFault(inspected, program, item, stored)) {
    inspection.faults.push_back(std::move(*found));
  }
}

}  // namespace velbor
