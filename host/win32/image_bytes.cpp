#include "host/win32/image_bytes.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

#include "host/failure.h"
#include "host/win32/stream_decoding.h"
#include "host/win32/worker_thread.h"
#include "package/content_pipe.h"
#include "package/zstd_frame.h"

namespace velbor {
namespace {

// Stops the pipe's writing side however the caller leaves, so that the decoding
// thread, waiting for room, ends and can be waited for.
class StopOnLeave {
 public:
  explicit StopOnLeave(ContentPipe& pipe) : pipe_(pipe) {}
  StopOnLeave(const StopOnLeave&) = delete;
  StopOnLeave& operator=(const StopOnLeave&) = delete;
  ~StopOnLeave() { pipe_.Stop(); }

 private:
  ContentPipe& pipe_;
};

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
  std::vector<std::uint8_t> buffer(std::min(bytes.size(), kPieceSize));
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
  if (item.storage == Storage::kInStream) {
    StreamDecoding(image, item.bytes).Deliver(item.place, take);
    return;
  }
  const std::optional<std::uint64_t> size = ContentSize(item);
  if (!size) throw HostFailure(failure::kInvalidFileFormat);
  // Decoding takes a processor of its own, so that the writes of the content run
  // beside it rather than after it.
  ContentPipe pipe(std::min(kPieceSize, largestPiece));
  ZstdFrameDecoder decoder;
  const WorkerThread decoding([&] {
    try {
      ReadImageBytes(image, item.bytes, largestPiece,
                     [&](ByteView piece) { decoder.Decode(piece, pipe); });
      decoder.Finish(*size);
    } catch (...) {
      pipe.Close();
      throw;
    }
    pipe.Close();
  });
  const StopOnLeave stop(pipe);
  while (const std::optional<ByteView> piece = pipe.Take()) take(*piece);
  decoding.Wait();
  decoding.PassOnFailure();
}

}  // namespace velbor
