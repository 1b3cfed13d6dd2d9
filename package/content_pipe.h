#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>

#include "host/resources.h"
#include "package/zstd_frame.h"

namespace velbor {

// Carries a decoder's content from the thread that decodes it to the thread that
// writes it, in place: the writer reads it from the decoder's round buffer, and the
// decoder waits only when it would write over content not yet taken.
class ContentPipe final : public ContentReceiver {
 public:
  // Take hands on at most `largestPiece` bytes at a time, so that the decoder gets
  // room back while a large piece is written.
  explicit ContentPipe(std::size_t largestPiece);
  ContentPipe(const ContentPipe&) = delete;
  ContentPipe& operator=(const ContentPipe&) = delete;

  // The decoding side. TakenUpTo fails with 75 once the writing side has stopped,
  // so that the decoding ends too.
  void Decoded(ByteView piece) override;
  void TakenUpTo(std::uint64_t count) override;
  // No more content will come, whether or not all of it came.
  void Close();

  // The writing side. The next piece of content, once the one that Take gave
  // before is taken; nothing once the pipe is closed and empty.
  std::optional<ByteView> Take();
  // Takes no more: the decoding side's waits end.
  void Stop();

 private:
  const std::size_t largestPiece_;
  std::mutex mutex_;
  std::condition_variable changed_;
  // Content decoded and not yet handed on; pieces that lie one after the other in
  // the buffer are one entry, so there are as many as the buffer has rounds.
  std::deque<ByteView> waiting_;
  std::size_t waitingSize_ = 0;
  std::uint64_t taken_ = 0;
  std::size_t inUse_ = 0;
  bool decoderWaits_ = false;
  bool closed_ = false;
  bool stopped_ = false;
};

}  // namespace velbor
