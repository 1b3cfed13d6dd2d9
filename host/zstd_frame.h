#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "host/resources.h"
#include "host/stored_bytes.h"

struct ZSTD_DCtx_s;

namespace velbor {

// The largest window a frame may ask for: the installer is a 32-bit program whose
// private bytes stay within 16 MiB, so the build compresses with this window.
inline constexpr int kZstdWindowLog = 22;

// The content size that `frame`'s header declares; nothing when it declares none
// or is no zstd frame.
std::optional<std::uint64_t> ZstdContentSize(ByteView frame);

// The size of the content of `item`: what its decoding yields.
std::optional<std::uint64_t> ContentSize(const StoredBytes& item);

// Told each piece of decoded content in order.
using ContentSink = std::function<void(ByteView piece)>;

// Decodes one zstd frame handed in pieces, in a fixed amount of memory, handing the
// decoded content on in pieces; never the whole content in memory.
class ZstdFrameDecoder {
 public:
  // Fails with 7 when the decoder cannot be made.
  ZstdFrameDecoder();
  ~ZstdFrameDecoder();
  ZstdFrameDecoder(const ZstdFrameDecoder&) = delete;
  ZstdFrameDecoder& operator=(const ZstdFrameDecoder&) = delete;

  // Decodes `piece`, the frame's next bytes. Fails with 75 where the frame is
  // damaged, asks for a larger window, or goes on after its end.
  void Decode(ByteView piece, const ContentSink& take);

  // After the frame's last piece: fails with 75 unless the frame ended whole, its
  // checksum matched, and it held exactly `expectedSize` bytes.
  void Finish(std::uint64_t expectedSize) const;

 private:
  struct Free {
    void operator()(ZSTD_DCtx_s* context) const;
  };
  std::unique_ptr<ZSTD_DCtx_s, Free> context_;
  std::vector<std::uint8_t> output_;
  std::uint64_t decoded_ = 0;
  bool ended_ = false;
};

}  // namespace velbor
