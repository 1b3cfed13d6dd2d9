#pragma once

#include "host/resources.h"
#include "host/sha256_digest.h"
#include "host/win32/windows_api.h"

// After <windows.h>, whose types it uses.
#include <bcrypt.h>

namespace velbor {

// SHA-256 by the system's own cryptography (CNG, bcrypt.dll, Vista and later).
// bcrypt.dll is not one of the libraries that Windows loads only from its own
// folder, so it is loaded by its full path in the system folder rather than
// imported: an import would let a bcrypt.dll beside the program into the
// elevated process.
class CngSha256 {
 public:
  // Fails when the system's SHA-256 cannot be opened.
  CngSha256();
  ~CngSha256();
  CngSha256(const CngSha256&) = delete;
  CngSha256& operator=(const CngSha256&) = delete;

  // One digest, fed in pieces.
  class Hash {
   public:
    explicit Hash(const CngSha256& provider);
    ~Hash();
    Hash(const Hash&) = delete;
    Hash& operator=(const Hash&) = delete;

    void Add(ByteView bytes);
    // Once, after the last piece.
    Sha256Digest Finish();

   private:
    const CngSha256& provider_;
    BCRYPT_HASH_HANDLE hash_ = nullptr;
  };

  Sha256Digest Of(ByteView bytes) const;

 private:
  // Frees the library when it goes, however the constructor ends.
  struct Library {
    HMODULE module = nullptr;
    ~Library() {
      if (module != nullptr) FreeLibrary(module);
    }
  };

  Library library_;
  decltype(&BCryptOpenAlgorithmProvider) open_ = nullptr;
  decltype(&BCryptCloseAlgorithmProvider) close_ = nullptr;
  decltype(&BCryptCreateHash) createHash_ = nullptr;
  decltype(&BCryptHashData) hashData_ = nullptr;
  decltype(&BCryptFinishHash) finishHash_ = nullptr;
  decltype(&BCryptDestroyHash) destroyHash_ = nullptr;
  BCRYPT_ALG_HANDLE algorithm_ = nullptr;
};

}  // namespace velbor
