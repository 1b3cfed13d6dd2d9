#include "package/zstd_frame.h"

#include <algorithm>
#include <new>

// The buffer-less decoding calls, with which the decoder's round buffer can be the
// caller's: content is decoded where it is written from, never copied on its way.
#define ZSTD_STATIC_LINKING_ONLY
#include <zstd.h>

#include "host/failure.h"

namespace velbor {
namespace {

void FailUnless(bool sound) {
  if (!sound) throw HostFailure(failure::kInvalidFileFormat);
}

// Hands each piece on at once, so that none is in use when the decoder goes on.
class SinkReceiver final : public ContentReceiver {
 public:
  explicit SinkReceiver(const ContentSink& take) : take_(take) {}
  void Decoded(ByteView piece) override { take_(piece); }
  void TakenUpTo(std::uint64_t) override {}

 private:
  const ContentSink& take_;
};

}  // namespace

std::optional<std::uint64_t> ZstdContentSize(ByteView frame) {
  const unsigned long long size = ZSTD_getFrameContentSize(frame.data(), frame.size());
  if (size == ZSTD_CONTENTSIZE_UNKNOWN || size == ZSTD_CONTENTSIZE_ERROR) return std::nullopt;
  return size;
}

std::optional<std::uint64_t> ContentSize(const StoredBytes& item) {
  if (item.storage == Storage::kRaw) return item.bytes.size();
  if (item.storage == Storage::kInStream) return item.place.size;
  return ZstdContentSize(item.bytes);
}

void ZstdFrameDecoder::Free::operator()(ZSTD_DCtx_s* context) const { ZSTD_freeDCtx(context); }

ZstdFrameDecoder::ZstdFrameDecoder(int largestWindowLog, ContentCheck check)
    : context_(ZSTD_createDCtx()), largestWindow_(std::uint64_t{1} << largestWindowLog) {
  const ZSTD_forceIgnoreChecksum_e checksum =
      check == ContentCheck::kFrameChecksum ? ZSTD_d_validateChecksum : ZSTD_d_ignoreChecksum;
  if (context_ == nullptr ||
      ZSTD_isError(ZSTD_DCtx_setParameter(context_.get(), ZSTD_d_forceIgnoreChecksum, checksum)) ||
      ZSTD_isError(ZSTD_decompressBegin(context_.get()))) {
    throw HostFailure(failure::kOutOfMemory);
  }
}

ZstdFrameDecoder::~ZstdFrameDecoder() = default;

void ZstdFrameDecoder::Decode(ByteView piece, const ContentSink& take) {
  SinkReceiver receiver(take);
  Decode(piece, receiver);
}

void ZstdFrameDecoder::Decode(ByteView piece, ContentReceiver& receiver) {
  while (!piece.empty()) {
    // Bytes after the frame's end belong to no item.
    FailUnless(!ended_);
    const std::size_t wanted = ZSTD_nextSrcSizeToDecompress(context_.get());
    if (staged_.empty() && piece.size() >= wanted) {
      Step(piece.first(wanted), receiver);
      piece = piece.subspan(wanted);
      continue;
    }
    const std::size_t part = std::min(wanted - staged_.size(), piece.size());
    staged_.insert(staged_.end(), piece.begin(), piece.begin() + static_cast<std::ptrdiff_t>(part));
    piece = piece.subspan(part);
    if (staged_.size() == wanted) {
      Step(staged_, receiver);
      staged_.clear();
    }
  }
}

void ZstdFrameDecoder::Step(ByteView input, ContentReceiver& receiver) {
  const ZSTD_nextInputType_e kind = ZSTD_nextInputType(context_.get());
  if (kind == ZSTDnit_frameHeader) header_.insert(header_.end(), input.begin(), input.end());
  std::span<std::uint8_t> region;
  if (kind == ZSTDnit_block || kind == ZSTDnit_lastBlock) region = NextRegion(receiver);
  const std::size_t produced = ZSTD_decompressContinue(context_.get(), region.data(), region.size(),
                                                       input.data(), input.size());
  FailUnless(!ZSTD_isError(produced));
  if (!started_ && ZSTD_nextInputType(context_.get()) != ZSTDnit_frameHeader) StartContent();
  if (produced > 0) {
    receiver.Decoded(ByteView(region.data(), produced));
    at_ += produced;
    decoded_ += produced;
  }
  ended_ = ZSTD_nextSrcSizeToDecompress(context_.get()) == 0;
}

void ZstdFrameDecoder::StartContent() {
  ZSTD_frameHeader header{};
  FailUnless(ZSTD_getFrameHeader(&header, header_.data(), header_.size()) == 0);
  // The build makes one frame that declares its content size and carries its
  // checksum, without a dictionary, in a window that the program can afford.
  FailUnless(header.frameType == ZSTD_frame && header.dictID == 0 && header.checksumFlag != 0 &&
             header.frameContentSize != ZSTD_CONTENTSIZE_UNKNOWN &&
             header.windowSize <= largestWindow_);
  const std::size_t size = ZSTD_decodingBufferSize_min(header.windowSize, header.frameContentSize);
  FailUnless(!ZSTD_isError(size));
  try {
    round_.resize(size);
  } catch (const std::bad_alloc&) {
    throw HostFailure(failure::kOutOfMemory);
  }
  blockSize_ = header.blockSizeMax;
  contentSize_ = header.frameContentSize;
  started_ = true;
}

std::span<std::uint8_t> ZstdFrameDecoder::NextRegion(ContentReceiver& receiver) {
  // As the decoder's own streaming does: where a whole block no longer fits, the
  // next goes to the buffer's start, with the round before as its window.
  if (round_.size() < contentSize_ && at_ + blockSize_ > round_.size()) {
    previousRoundStart_ = roundStart_;
    previousRoundEnd_ = at_;
    roundStart_ = decoded_;
    at_ = 0;
  }
  const std::size_t size = std::min(blockSize_, round_.size() - at_);
  // What the round before left in the region must have been taken; in the first
  // round nothing is there.
  receiver.TakenUpTo(previousRoundStart_ + std::min(at_ + size, previousRoundEnd_));
  return std::span<std::uint8_t>(round_).subspan(at_, size);
}

std::size_t ZstdFrameDecoder::Wanted() const {
  return ZSTD_nextSrcSizeToDecompress(context_.get()) - staged_.size();
}

void ZstdFrameDecoder::Finish(std::uint64_t expectedSize) const {
  // A frame ends only after its checksum, which matched where it was compared.
  FailUnless(ended_ && decoded_ == expectedSize);
}

}  // namespace velbor
