#include "host/win32/image_bytes.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

#include "host/failure.h"
#include "host/zstd_frame.h"

namespace velbor {
namespace {

// Small enough to stay in the processor's cache.
constexpr std::size_t kImageReadBuffer = 1024 * 1024;

}  // namespace

void ReadImageBytes(const ImageFile* image, ByteView bytes, std::size_t largestPiece,
                    const std::function<void(ByteView piece)>& take) {
  const auto offset = image != nullptr ? image->FileOffsetOf(bytes) : std::nullopt;
  if (!offset) {
    while (!bytes.empty()) {
      const ByteView piece = bytes.first(std::min(bytes.size(), largestPiece));
      take(piece);
      bytes = bytes.subspan(piece.size());
    }
    return;
  }
  std::vector<std::uint8_t> buffer(std::min(bytes.size(), kImageReadBuffer));
  std::uint64_t at = *offset;
  for (std::size_t left = bytes.size(); left > 0;) {
    const std::span<std::uint8_t> piece(buffer.data(), std::min(left, buffer.size()));
    image->ReadAt(at, piece);
    take(piece);
    at += piece.size();
    left -= piece.size();
  }
}

void ReadItemContent(const ImageFile* image, const StoredBytes& item, std::size_t largestPiece,
                     const std::function<void(ByteView piece)>& take) {
  if (item.storage == Storage::kRaw) {
    ReadImageBytes(image, item.bytes, largestPiece, take);
    return;
  }
  const std::optional<std::uint64_t> size = ContentSize(item);
  if (!size) throw HostFailure(failure::kPathFileAccess);
  ZstdFrameDecoder decoder;
  ReadImageBytes(image, item.bytes, largestPiece,
                 [&](ByteView piece) { decoder.Decode(piece, take); });
  decoder.Finish(*size);
}

}  // namespace velbor
