#include <openssl/evp.h>

#include <memory>
#include <stdexcept>

#include "tools/setup-inspect/sha256.h"

namespace velbor {

Sha256Digest Sha256OfPieces(const std::function<void(const ContentSink&)>& hand) {
  const std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> context(EVP_MD_CTX_new(),
                                                                        &EVP_MD_CTX_free);
  if (!context || EVP_DigestInit_ex(context.get(), EVP_sha256(), nullptr) != 1) {
    throw std::runtime_error("SHA-256 (OpenSSL) failed");
  }
  hand([&](ByteView piece) {
    if (EVP_DigestUpdate(context.get(), piece.data(), piece.size()) != 1) {
      throw std::runtime_error("SHA-256 (OpenSSL) failed");
    }
  });
  Sha256Digest digest{};
  unsigned int length = 0;
  if (EVP_DigestFinal_ex(context.get(), digest.data(), &length) != 1 || length != digest.size()) {
    throw std::runtime_error("SHA-256 (OpenSSL) failed");
  }
  return digest;
}

Sha256Digest Sha256Of(ByteView bytes) {
  return Sha256OfPieces([&](const ContentSink& take) { take(bytes); });
}

}  // namespace velbor
