#include "tools/setup-inspect/range_digests.h"

#include "host/failure.h"
#include "package/zstd_frame.h"

namespace velbor {

Sha256Digest RangeDigests::Stored(ByteView bytes) {
  const Range range{bytes.data(), bytes.size()};
  if (const auto known = stored_.find(range); known != stored_.end()) return known->second;
  return stored_.emplace(range, sha256_.Of(bytes, {})).first->second;
}

std::optional<DecodedContent> RangeDigests::Decoded(ByteView frame) {
  const Range range{frame.data(), frame.size()};
  if (const auto known = decoded_.find(range); known != decoded_.end()) return known->second;
  std::optional<DecodedContent> content;
  const std::optional<std::uint64_t> declared = ZstdContentSize(frame);
  try {
    if (declared) {
      content = DecodedContent{sha256_.OfPieces([&](const HashSink& take) {
                                 ZstdFrameDecoder decoder;
                                 decoder.Decode(frame, take);
                                 decoder.Finish(*declared);
                               }),
                               *declared};
    }
  } catch (const HostFailure&) {
    // A frame that does not decode is remembered so too.
  }
  return decoded_.emplace(range, content).first->second;
}

}  // namespace velbor
