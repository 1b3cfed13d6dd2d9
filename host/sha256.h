#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

#include "host/resources.h"
#include "host/sha256_digest.h"

namespace velbor {

// Told how many bytes are hashed so far, while they are hashed; it may throw to
// stop the hashing.
using HashProgress = std::function<void(std::uint64_t hashed)>;

// Takes the bytes to hash, piece by piece, in order.
using HashSink = std::function<void(ByteView piece)>;

// Hands the bytes to hash to the sink it is given.
using HashSource = std::function<void(const HashSink& take)>;

// SHA-256 (FIPS 180-4) by a library that its maintainers keep: the system's CNG on
// Windows (host/win32/cng_sha256.h), OpenSSL's libcrypto elsewhere
// (host/posix/openssl_sha256.h). Fails with HostFailure when the library does.
class Sha256 {
 public:
  virtual ~Sha256() = default;

  // The digest of `bytes`, read where they lie in pieces of kPieceSize.
  // `progress`, which may be empty, hears after each how many are hashed so far.
  virtual Sha256Digest Of(ByteView bytes, const HashProgress& progress) const = 0;

  // The digest of the bytes that `hand` hands to its sink, in order.
  virtual Sha256Digest OfPieces(const HashSource& hand) const = 0;
};

}  // namespace velbor
