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
  ~CngSha256() override;
  CngSha256(const CngSha256&) = delete;
  CngSha256& operator=(const CngSha256&) = delete;

  Sha256Digest Of(ByteView bytes, const HashProgress& progress) const override;
  Sha256Digest OfPieces(const HashSource& hand) const override;

 private:
  class Hash;

  const ImageFile* image_;
  UniqueModule library_;
  decltype(&BCryptOpenAlgorithmProvider) open_ = nullptr;
  decltype(&BCryptCloseAlgorithmProvider) close_ = nullptr;
  decltype(&BCryptCreateHash) createHash_ = nullptr;
  decltype(&BCryptHashData) hashData_ = nullptr;
  decltype(&BCryptFinishHash) finishHash_ = nullptr;
  decltype(&BCryptDestroyHash) destroyHash_ = nullptr;
  BCRYPT_ALG_HANDLE algorithm_ = nullptr;
};

}  // namespace velbor
