#include "host/win32/stream_decoding.h"

#include <optional>

#include "host/failure.h"
#include "host/win32/image_bytes.h"
#include "package/item_stream.h"

namespace velbor {

StreamDecoding::StreamDecoding(const ImageFile* image, ByteView stream)
    // Each item is checked by its own XXH64 as the cursor cuts it from the content;
    // the frame's checksum would hash it all again, a fifth of the decoder's time.
    : stream_(stream),
      pipe_(kPieceSize),
      decoder_(kItemStreamWindowLog, ContentCheck::kCallerChecksums),
      thread_([this, image] {
        try {
          const std::optional<std::uint64_t> size = ZstdContentSize(stream_);
          if (!size) throw HostFailure(failure::kInvalidFileFormat);
          ReadImageBytes(image, stream_, kPieceSize,
                         [&](ByteView piece) { decoder_.Decode(piece, pipe_); });
          decoder_.Finish(*size);
        } catch (...) {
          pipe_.Close();
          throw;
        }
        pipe_.Close();
      }) {}

StreamDecoding::~StreamDecoding() { pipe_.Stop(); }

bool StreamDecoding::Reaches(ByteView stream, const ContentPlace& place) const {
  return stream.data() == stream_.data() && stream.size() == stream_.size() &&
         cursor_.Reaches(place);
}

void StreamDecoding::Deliver(const ContentPlace& place,
                             const std::function<void(ByteView piece)>& take) {
  cursor_.Deliver(
      place,
      [&] {
        const std::optional<ByteView> piece = pipe_.Take();
        if (!piece) {
          // The stream ended before the item did: what the decoder met says why.
          thread_.Wait();
          thread_.PassOnFailure();
        }
        return piece;
      },
      take);
}

}  // namespace velbor
