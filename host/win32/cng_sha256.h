#pragma once

#include "host/sha256.h"
#include "host/win32/image_file.h"
#include "host/win32/unique_handle.h"
#include "host/win32/windows_api.h"

// After <windows.h>, whose types it uses.
#include <bcrypt.h>

namespace velbor {

// SHA-256 by the system's own cryptography (CNG, bcrypt.dll, Vista and later).
// bcrypt.dll is not one of the libraries that Windows loads only from its own
// folder, so it is loaded by its full path in the system folder rather than
// imported: an import would let a bcrypt.dll beside the program into the
// elevated process.
class CngSha256 final : public Sha256 {
 public:
  // Views of `image`'s resources are read from its proven file, as the
  // installation reads them when it writes them (host/win32/image_bytes.h);
  // `image` may be null and outlives this. Fails when CNG cannot be opened.
  explicit CngSha256(const ImageFile* image = nullptr);

  Sha256Digest Of(ByteView bytes, const HashProgress& progress) const override;
  Sha256Digest OfPieces(const HashSource& hand) const override;

 private:
  // The algorithm's provider, closed by the library's own
  // BCryptCloseAlgorithmProvider.
  struct AlgorithmTraits {
    using Handle = BCRYPT_ALG_HANDLE;
    static Handle Invalid() noexcept { return nullptr; }
    bool Close(Handle algorithm) const noexcept { return BCRYPT_SUCCESS(close(algorithm, 0)); }

    decltype(&BCryptCloseAlgorithmProvider) close = nullptr;
  };

  const ImageFile* image_;
  UniqueModule library_;  // freed after everything it provides
  decltype(&BCryptCreateHash) createHash_ = nullptr;
  decltype(&BCryptHashData) hashData_ = nullptr;
  decltype(&BCryptFinishHash) finishHash_ = nullptr;
  decltype(&BCryptDestroyHash) destroyHash_ = nullptr;
  UniqueHandle<AlgorithmTraits> algorithm_;
};

}  // namespace velbor
