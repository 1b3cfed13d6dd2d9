#pragma once

#include <cstdint>
#include <functional>

#include "host/resources.h"
#include "host/sha256_digest.h"

namespace velbor {

// Told how many bytes are hashed so far, while they are hashed; it may throw to
// stop the hashing.
using HashProgress = std::function<void(std::uint64_t hashed)>;

// The digests of the program's own payload, computed by a library that its
// maintainers keep.
class PayloadHashing {
 public:
  virtual ~PayloadHashing() = default;

  // The SHA-256 of `bytes`, a view of the program's resources, read the way the
  // installation reads them when it writes them. `progress` may be empty.
  virtual Sha256Digest Sha256Of(ByteView bytes, const HashProgress& progress) = 0;
};

}  // namespace velbor
