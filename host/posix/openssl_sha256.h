#pragma once

#include "host/sha256.h"

namespace velbor {

// SHA-256 by OpenSSL's libcrypto, for the programs that run on the building machine.
class OpenSslSha256 final : public Sha256 {
 public:
  Sha256Digest Of(ByteView bytes, const HashProgress& progress) const override;
  Sha256Digest OfPieces(const HashSource& hand) const override;
};

}  // namespace velbor
