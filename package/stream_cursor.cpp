#include "package/stream_cursor.h"

#include <algorithm>

#include "host/failure.h"
#include "package/stream_item.h"

namespace velbor {

void StreamCursor::Deliver(const ContentPlace& place, const ContentSource& next,
                           const ContentSink& take) {
  StreamItemCut cut(place);
  while (!cut.Complete()) {
    if (rest_.empty()) {
      const std::optional<ByteView> piece = next();
      // The content ended before the item did.
      if (!piece) throw HostFailure(failure::kInvalidFileFormat);
      rest_ = *piece;
    }
    const std::size_t used = cut.Cut(at_, rest_, take);
    at_ += used;
    rest_ = rest_.subspan(used);
  }
  cut.Finish();
}

// Keeps the one block that a step decodes until it is asked for.
class FrameContent::Pieces final : public ContentReceiver {
 public:
  explicit Pieces(FrameContent& content) : content_(content) {}
  void Decoded(ByteView piece) override { content_.waiting_ = piece; }
  void TakenUpTo(std::uint64_t count) override {
    // Only content handed on may be written over; a step decodes one block.
    if (count > content_.handedOn_) throw HostFailure(failure::kInvalidFileFormat);
  }

 private:
  FrameContent& content_;
};

FrameContent::FrameContent(ByteView frame, int largestWindowLog)
    : input_(frame), declared_(ZstdContentSize(frame)), decoder_(largestWindowLog) {}

std::optional<ByteView> FrameContent::Next() {
  Pieces pieces(*this);
  while (!waiting_ && !input_.empty()) {
    // A frame that has ended takes no more: one byte more fails it.
    const std::size_t step = std::clamp<std::size_t>(decoder_.Wanted(), 1, input_.size());
    decoder_.Decode(input_.first(step), pieces);
    input_ = input_.subspan(step);
  }
  const std::optional<ByteView> piece = waiting_;
  waiting_.reset();
  if (piece) handedOn_ += piece->size();
  return piece;
}

void FrameContent::Finish() const {
  if (!declared_) throw HostFailure(failure::kInvalidFileFormat);
  decoder_.Finish(*declared_);
}

}  // namespace velbor
