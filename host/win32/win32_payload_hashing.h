#pragma once

#include "host/payload_hashing.h"
#include "host/win32/cng_sha256.h"
#include "host/win32/image_file.h"

namespace velbor {

// The payload's digests by the system's CNG, its bytes read as the installation
// writes them (host/win32/image_bytes.h).
class Win32PayloadHashing final : public PayloadHashing {
 public:
  // `image`, which may be null, outlives this. Fails when CNG cannot be opened.
  explicit Win32PayloadHashing(const ImageFile* image) : image_(image) {}

  Sha256Digest Sha256Of(ByteView bytes, const HashProgress& progress) override;

 private:
  const ImageFile* image_;
  CngSha256 sha256_;
};

}  // namespace velbor
