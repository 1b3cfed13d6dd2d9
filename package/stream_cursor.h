#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "host/resources.h"
#include "host/stored_bytes.h"
#include "package/zstd_frame.h"

namespace velbor {

// The next piece of a stream's decoded content, which stays in use until the next
// call; nothing once the content has ended.
using ContentSource = std::function<std::optional<ByteView>()>;

// Goes forward through the decoded content of a stream of items stored together,
// handing on one item's content after another: what lies before an item is passed
// over, and what follows it in the same piece is kept for the next.
class StreamCursor {
 public:
  // Whether `place` lies where the cursor has not yet passed.
  bool Reaches(const ContentPlace& place) const { return place.offset >= at_; }

  // Hands `take` the content at `place`, taken from `next`, once Reaches says so.
  // Fails with 321, after the content that came, where the content ends before
  // the item does or the item's size or checksum differs.
  void Deliver(const ContentPlace& place, const ContentSource& next, const ContentSink& take);

  // The offset of the content not yet passed.
  std::uint64_t At() const { return at_; }

 private:
  std::uint64_t at_ = 0;
  // The part of the piece taken last that no item has used yet.
  ByteView rest_;
};

// The content of one frame of zstd, decoded forward as it is asked for, block by
// block into the decoder's round buffer; nothing is decoded ahead of the asking.
class FrameContent {
 public:
  FrameContent(ByteView frame, int largestWindowLog);

  // The next piece, in use until the next call; nothing at the frame's end.
  // Fails with 321 where the frame is damaged.
  std::optional<ByteView> Next();

  // Once Next has answered nothing: fails with 321 unless the frame ended whole
  // and sound with the size its header declares.
  void Finish() const;

 private:
  class Pieces;

  ByteView input_;
  std::optional<std::uint64_t> declared_;
  ZstdFrameDecoder decoder_;
  std::optional<ByteView> waiting_;
  std::uint64_t handedOn_ = 0;
};

}  // namespace velbor
