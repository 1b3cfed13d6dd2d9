#pragma once

#include "host/resources.h"
#include "host/sha256_digest.h"
#include "package/zstd_frame.h"

namespace velbor {

// The SHA-256 of `bytes`, read where they lie, by a library that its maintainers
// keep: OpenSSL's libcrypto on the building machine (posix/openssl_sha256.cpp),
// the system's CNG on Windows (win32/cng_sha256_of.cpp).
Sha256Digest Sha256Of(ByteView bytes);

// The SHA-256 of the bytes that `hand` hands to the sink it is given, in order.
Sha256Digest Sha256OfPieces(const std::function<void(const ContentSink&)>& hand);

}  // namespace velbor
