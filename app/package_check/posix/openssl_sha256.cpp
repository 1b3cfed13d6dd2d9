#include <openssl/evp.h>

#include <memory>
#include <stdexcept>

#include "app/package_check/sha256.h"

namespace velbor {

Sha256Digest Sha256Of(ByteView bytes) {
  const std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> context(EVP_MD_CTX_new(),
                                                                        &EVP_MD_CTX_free);
  Sha256Digest digest{};
  unsigned int length = 0;
  if (!context || EVP_DigestInit_ex(context.get(), EVP_sha256(), nullptr) != 1 ||
      EVP_DigestUpdate(context.get(), bytes.data(), bytes.size()) != 1 ||
      EVP_DigestFinal_ex(context.get(), digest.data(), &length) != 1 || length != digest.size()) {
    throw std::runtime_error("SHA-256 (OpenSSL) failed");
  }
  return digest;
}

}  // namespace velbor
