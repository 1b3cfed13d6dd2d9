#include "host/win32/cng_sha256.h"
#include "tools/setup-inspect/sha256.h"

namespace velbor {

Sha256Digest Sha256Of(ByteView bytes) { return CngSha256().Of(bytes); }

Sha256Digest Sha256OfPieces(const std::function<void(const ContentSink&)>& hand) {
  const CngSha256 provider;
  CngSha256::Hash hash(provider);
  hand([&](ByteView piece) { hash.Add(piece); });
  return hash.Finish();
}

}  // namespace velbor
