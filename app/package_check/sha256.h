#pragma once

#include <string>

#include "host/resources.h"

namespace velbor {

// The SHA-256 digest of `bytes` (FIPS 180-4) as 64 lower-case hexadecimal digits.
// Reads the bytes where they lie.
std::string Sha256Hex(ByteView bytes);

}  // namespace velbor
