#pragma once

#include <cstdint>
#include <functional>

#include "host/resources.h"
#include "host/stored_bytes.h"
#include "host/win32/image_file.h"
#include "host/win32/worker_thread.h"
#include "package/content_pipe.h"
#include "package/stream_cursor.h"
#include "package/zstd_frame.h"

namespace velbor {

// The decoding of one stream of items stored together, forward, for the items that
// one pass writes: a thread of its own, living as long as this, decodes the stream
// into the decoder's round buffer, from where each item's content is handed on in
// place. What lies before an item (items done, or failed before their write) is
// decoded past, so the decoder's window stays whole.
class StreamDecoding {
 public:
  // Starts decoding `stream`, a view of the image's resources read as
  // ReadImageBytes reads them; `image`, which may be null, outlives this. Fails as
  // CreateThread fails.
  StreamDecoding(const ImageFile* image, ByteView stream);
  StreamDecoding(const StreamDecoding&) = delete;
  StreamDecoding& operator=(const StreamDecoding&) = delete;
  // Stops the decoding and waits for its thread.
  ~StreamDecoding();

  // Whether `place` lies in `stream` where the decoding has not yet passed.
  bool Reaches(ByteView stream, const ContentPlace& place) const;

  // Hands `take` the content at `place`, in pieces of at most kPieceSize, once
  // Reaches says so. Fails with 75, after the content that decoded, where the stream
  // does not decode that far or the item's size or checksum differs, so that the
  // caller keeps nothing of it; with what the decoder failed with otherwise.
  void Deliver(const ContentPlace& place, const std::function<void(ByteView piece)>& take);

 private:
  ByteView stream_;
  ContentPipe pipe_;
  ZstdFrameDecoder decoder_;
  StreamCursor cursor_;
  // Last, so that it starts once the rest is ready and is waited for first.
  WorkerThread thread_;
};

}  // namespace velbor
