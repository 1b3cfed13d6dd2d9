#include "host/posix/openssl_sha256.h"

#include <openssl/evp.h>

#include <algorithm>
#include <memory>

#include "host/failure.h"

namespace velbor {
namespace {

HostFailure OpenSslFailure() {
  return HostFailure(failure::kInvalidArgument, u"SHA-256 (OpenSSL) failed");
}

// libcrypto's calls answer 1 when they succeed.
void Check(int result) {
  if (result != 1) throw OpenSslFailure();
}

}  // namespace

Sha256Digest OpenSslSha256::Of(ByteView bytes, const HashProgress& progress) const {
  return OfPieces([&](const HashSink& take) {
    for (std::uint64_t hashed = 0; !bytes.empty();) {
      const ByteView piece = bytes.first(std::min(bytes.size(), kPieceSize));
      take(piece);
      bytes = bytes.subspan(piece.size());
      hashed += piece.size();
      if (progress) progress(hashed);
    }
  });
}

Sha256Digest OpenSslSha256::OfPieces(const HashSource& hand) const {
  const std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> context(EVP_MD_CTX_new(),
                                                                        &EVP_MD_CTX_free);
  if (!context) throw OpenSslFailure();
  Check(EVP_DigestInit_ex(context.get(), EVP_sha256(), nullptr));
  hand([&](ByteView piece) { Check(EVP_DigestUpdate(context.get(), piece.data(), piece.size())); });
  Sha256Digest digest{};
  unsigned int length = 0;
  Check(EVP_DigestFinal_ex(context.get(), digest.data(), &length));
  if (length != digest.size()) throw OpenSslFailure();
  return digest;
}

}  // namespace velbor
