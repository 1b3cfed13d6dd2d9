#include "tools/setup-inspect/stream_findings.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "app/payload_check.h"
#include "host/failure.h"
#include "package/item_stream.h"
#include "package/package_format.h"
#include "package/stream_cursor.h"
#include "tools/setup-inspect/package_faults.h"

namespace velbor {
namespace {

// The SHA-256 of the stream, hashed once, against the one the program carries for
// each of its items.
void CheckStoredDigests(PackageFindings& inspection, Resources& program,
                        const std::vector<InspectedItem*>& items, const Sha256& sha256) {
  if (program.ResourceSize(kPayloadDigestsResource, kPayloadDigestsType) == 0) return;
  const Sha256Digest stored = sha256.Of(items.front()->stored->bytes, {});
  for (const InspectedItem* item : items) {
    const std::optional<Sha256Digest> carried =
        CarriedDigest(program, item->number - kFirstItemResource);
    if (!carried) {
      inspection.faults.push_back(fault::NoItemDigestCarried(item->number, item->file));
    } else if (*carried != stored) {
      inspection.faults.push_back(
          fault::StoredDigestDiffers(item->number, item->file, true, *carried));
    }
  }
}

}  // namespace

void InspectStream(PackageFindings& inspection, Resources& program, const Sha256& sha256) {
  if (program.ResourceSize(kItemStreamTableResource, kItemStreamType) != 0 &&
      !StreamRecords(program.LoadResourceBytes(kItemStreamTableResource, kItemStreamType))) {
    inspection.faults.push_back(fault::StreamTableNotWhole());
  }
  std::vector<InspectedItem*> items;
  for (InspectedItem& item : inspection.items) {
    if (item.stored && item.stored->storage == Storage::kInStream) items.push_back(&item);
  }
  if (items.empty()) return;
  CheckStoredDigests(inspection, program, items, sha256);
  const ByteView stream = items.front()->stored->bytes;
  const std::uint64_t streamSize = ZstdContentSize(stream).value_or(0);
  // The installer goes forward through the stream in item order.
  std::stable_sort(items.begin(), items.end(), [](const InspectedItem* a, const InspectedItem* b) {
    return a->stored->place.offset < b->stored->place.offset;
  });
  FrameContent content(stream, kItemStreamWindowLog);
  StreamCursor cursor;
  bool decodes = true;
  std::uint64_t used = 0;
  const ContentSource next = [&]() -> std::optional<ByteView> {
    try {
      return content.Next();
    } catch (const HostFailure&) {
      decodes = false;
      throw;
    }
  };
  for (InspectedItem* item : items) {
    const ContentPlace& place = item->stored->place;
    if (place.offset + place.size > streamSize || place.offset + place.size < place.offset) {
      inspection.faults.push_back(fault::StreamPlaceOutside(item->number, item->file, place.offset,
                                                            place.size, streamSize));
      continue;
    }
    if (!cursor.Reaches(place)) {
      inspection.faults.push_back(
          fault::StreamPlaceOverlaps(item->number, item->file, place.offset, place.size));
      continue;
    }
    if (!decodes) continue;
    try {
      item->digest =
          sha256.OfPieces([&](const HashSink& take) { cursor.Deliver(place, next, take); });
      item->size = place.size;
    } catch (const HostFailure&) {
      if (decodes)
        inspection.faults.push_back(fault::StreamChecksumDiffers(item->number, item->file));
    }
    // Its place is its own, whether or not its content is sound.
    if (decodes) used += place.size;
    if (item->digest && item->carried != item->digest) {
      inspection.faults.push_back(
          fault::ContentDigestDiffers(item->number, item->file, item->carried));
    }
  }
  try {
    if (decodes) {
      // The rest is decoded to the stream's end, as it must decode whole.
      while (content.Next()) {
      }
      content.Finish();
    }
  } catch (const HostFailure&) {
    decodes = false;
  }
  if (!decodes) {
    inspection.faults.push_back(fault::StreamUndecodable());
  } else if (used != streamSize) {
    inspection.faults.push_back(fault::StreamBytesUnused(streamSize - used));
  }
}

}  // namespace velbor
