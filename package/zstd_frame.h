#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "host/resources.h"
#include "host/stored_bytes.h"

struct ZSTD_DCtx_s;

namespace velbor {

// The largest window a frame of one item may ask for, as the build made them before
// items were stored together.
inline constexpr int kZstdWindowLog = 22;

// The content size that `frame`'s header declares; nothing when it declares none
// or is no zstd frame.
std::optional<std::uint64_t> ZstdContentSize(ByteView frame);

// The size of the content of `item`: what its decoding yields.
std::optional<std::uint64_t> ContentSize(const StoredBytes& item);

// Told each piece of decoded content in order.
using ContentSink = std::function<void(ByteView piece)>;

// Told of a decoder's content as it comes. The pieces lie in the decoder's round
// buffer, which also holds the window that later content is decoded from; the
// decoder writes over a piece only once TakenUpTo has returned for it.
class ContentReceiver {
 public:
  virtual ~ContentReceiver() = default;
  // The next piece of content.
  virtual void Decoded(ByteView piece) = 0;
  // Returns once the first `count` bytes of content are no longer in use.
  virtual void TakenUpTo(std::uint64_t count) = 0;
};

// Who checks the content that a frame yields: its own checksum, or the caller, who
// checks every byte it takes against checksums of its own (the items' XXH64 in the
// table of the items stored together), so that the content is not hashed twice.
enum class ContentCheck { kFrameChecksum, kCallerChecksums };

// Decodes one zstd frame handed in pieces, in a fixed amount of memory, handing the
// decoded content on in pieces; never the whole content in memory.
class ZstdFrameDecoder {
 public:
  // Decodes frames whose window is at most 2^`largestWindowLog` bytes, each still
  // carrying its checksum; `check` says whether that checksum is compared. Fails
  // with 7 when the decoder cannot be made.
  explicit ZstdFrameDecoder(int largestWindowLog = kZstdWindowLog,
                            ContentCheck check = ContentCheck::kFrameChecksum);
  ~ZstdFrameDecoder();
  ZstdFrameDecoder(const ZstdFrameDecoder&) = delete;
  ZstdFrameDecoder& operator=(const ZstdFrameDecoder&) = delete;

  // Decodes `piece`, the frame's next bytes, straight into its round buffer,
  // telling `receiver` of each block's content there. Fails with 321 where the
  // frame is damaged, is not one frame of content with a checksum, asks for a
  // larger window, or goes on after its end; with 7 when its buffer cannot be had.
  void Decode(ByteView piece, ContentReceiver& receiver);

  // As above, handing each piece of content to `take` before going on.
  void Decode(ByteView piece, const ContentSink& take);

  // How many more bytes of the frame its next step takes: giving Decode no more
  // than this decodes at most one block.
  std::size_t Wanted() const;

  // After the frame's last piece: fails with 321 unless the frame ended whole, its
  // checksum matched (where compared), and it held exactly `expectedSize` bytes.
  void Finish(std::uint64_t expectedSize) const;

 private:
  struct Free {
    void operator()(ZSTD_DCtx_s* context) const;
  };

  // Hands the decoder `input`, exactly the size it asked for.
  void Step(ByteView input, ContentReceiver& receiver);
  // Once the frame's header is read: checks it and makes the round buffer.
  void StartContent();
  // Where the next block goes, once what was there has been taken.
  std::span<std::uint8_t> NextRegion(ContentReceiver& receiver);

  std::unique_ptr<ZSTD_DCtx_s, Free> context_;
  std::uint64_t largestWindow_;
  // Input that the decoder asked for and that has come only in part.
  std::vector<std::uint8_t> staged_;
  std::vector<std::uint8_t> header_;
  std::vector<std::uint8_t> round_;
  bool started_ = false;
  std::size_t blockSize_ = 0;
  std::uint64_t contentSize_ = 0;
  // Where the next block goes in the round buffer; the content offsets of the
  // buffer's start in this round and in the one before, and where that one ended.
  std::size_t at_ = 0;
  std::uint64_t roundStart_ = 0;
  std::uint64_t previousRoundStart_ = 0;
  std::size_t previousRoundEnd_ = 0;
  std::uint64_t decoded_ = 0;
  bool ended_ = false;
};

}  // namespace velbor
