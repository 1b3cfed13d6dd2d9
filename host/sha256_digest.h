#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace velbor {

// A SHA-256 digest (FIPS 180-4), as its 32 bytes.
using Sha256Digest = std::array<std::uint8_t, 32>;

// The digest as 64 lower-case hexadecimal digits, as sha256sum writes it.
inline std::string HexText(const Sha256Digest& digest) {
  constexpr char kDigits[] = "0123456789abcdef";
  std::string hex;
  hex.reserve(digest.size() * 2);
  for (const std::uint8_t byte : digest) {
    hex += kDigits[byte >> 4];
    hex += kDigits[byte & 0x0F];
  }
  return hex;
}

}  // namespace velbor
