#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <utility>

#include "host/resources.h"
#include "host/sha256.h"
#include "host/sha256_digest.h"

namespace velbor {

// What a compressed item's frame decodes to, whole and sound.
struct DecodedContent {
  Sha256Digest digest{};
  std::uint64_t size = 0;
};

// The digests of the ranges of the file that items' data entries name, each
// distinct range (where it starts, and its size) hashed, and decoded, once: the
// entries of a file made by hand may share their bytes, and 65,000 items on one
// 8 MiB blob would otherwise be read 65,000 times. Ranges are views of the one
// mapped file, so where they start tells them apart.
class RangeDigests {
 public:
  // Digests are made by `sha256`.
  explicit RangeDigests(const Sha256& sha256) : sha256_(sha256) {}

  // The SHA-256 of `bytes` as they are stored.
  Sha256Digest Stored(ByteView bytes);

  // What the zstd frame `frame` decodes to, as the installer decodes it when it
  // writes the item; nothing when it does not decode whole and sound.
  std::optional<DecodedContent> Decoded(ByteView frame);

 private:
  using Range = std::pair<const std::uint8_t*, std::size_t>;

  const Sha256& sha256_;
  std::map<Range, Sha256Digest> stored_;
  std::map<Range, std::optional<DecodedContent>> decoded_;
};

}  // namespace velbor
