#include "package/stream_item.h"

#include <algorithm>

#include "host/failure.h"
#include "package/item_stream.h"
#include "package/stream_cursor.h"

namespace velbor {

std::size_t StreamItemCut::Cut(std::uint64_t at, ByteView piece, const ContentSink& take) {
  const std::uint64_t end = place_.offset + place_.size;
  if (at >= end) return 0;
  const std::uint64_t from = std::max(at, place_.offset + got_);
  const std::size_t used =
      static_cast<std::size_t>(std::min<std::uint64_t>(end - at, piece.size()));
  if (from < at + used) {
    const ByteView part = piece.subspan(static_cast<std::size_t>(from - at),
                                        static_cast<std::size_t>(at + used - from));
    checksum_.Add(part);
    take(part);
    got_ += part.size();
  }
  return used;
}

void StreamItemCut::Finish() const {
  if (!Complete() || checksum_.Value() != place_.checksum) {
    throw HostFailure(failure::kInvalidFileFormat);
  }
}

void DecodeStreamItem(ByteView stream, const ContentPlace& place, const ContentSink& take) {
  FrameContent content(stream, kItemStreamWindowLog);
  StreamCursor().Deliver(
      place, [&] { return content.Next(); }, take);
}

}  // namespace velbor
