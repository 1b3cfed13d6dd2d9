#include "app/package_check/sha256.h"
#include "host/win32/cng_sha256.h"

namespace velbor {

Sha256Digest Sha256Of(ByteView bytes) { return CngSha256().Of(bytes); }

}  // namespace velbor
