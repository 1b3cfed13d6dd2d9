#include "host/win32/win32_payload_hashing.h"

#include <cstdint>

#include "host/win32/image_bytes.h"

namespace velbor {

Sha256Digest Win32PayloadHashing::Sha256Of(ByteView bytes, const HashProgress& progress) {
  CngSha256::Hash hash(sha256_);
  std::uint64_t hashed = 0;
  ReadImageBytes(image_, bytes, kImagePieceSize, [&](ByteView piece) {
    hash.Add(piece);
    hashed += piece.size();
    if (progress) progress(hashed);
  });
  return hash.Finish();
}

}  // namespace velbor
