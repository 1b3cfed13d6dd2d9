#pragma once

#include <cstddef>
#include <cstdint>

#include "host/stored_bytes.h"
#include "package/content_checksum.h"
#include "package/zstd_frame.h"

namespace velbor {

// Cuts one item's content out of the decoded content of a stream of items stored
// together, as that content comes, and checks it: what lies before the item is
// passed over, so the stream is decoded forward only.
class StreamItemCut {
 public:
  explicit StreamItemCut(const ContentPlace& place) : place_(place) {}

  // `piece` is the stream's content from offset `at` on. Hands `take` the part of
  // it that belongs to the item; answers how much of `piece`, from its start, lies
  // before the item's end, all of it while the item goes on.
  std::size_t Cut(std::uint64_t at, ByteView piece, const ContentSink& take);

  // Whether all of the item's content has come.
  bool Complete() const { return got_ == place_.size; }

  // Fails with 75 unless all of the item's content came and its checksum matched.
  void Finish() const;

 private:
  ContentPlace place_;
  ContentChecksum checksum_;
  std::uint64_t got_ = 0;
};

// Decodes the stream of items stored together `stream` from its start and hands
// `take` the content of the item at `place`, checked as StreamItemCut checks it.
// Fails with 75 where the stream does not decode that far or the item differs.
void DecodeStreamItem(ByteView stream, const ContentPlace& place, const ContentSink& take);

}  // namespace velbor
