#pragma once

#include <cstdint>
#include <span>

#include "host/registry_api.h"
#include "host/text.h"
#include "registry/reg_value.h"

namespace velbor {

// A value's data in the three forms that ReadValue can deliver.
struct ValueRenderings {
  Text text;
  RegBytes bytes;
  double number = 0;
};

// The renderings of `data` (at least one byte) of registry type `type`:
// - REG_BINARY: the bytes in hexadecimal, upper case and without leading zeros,
//   one space between them; the bytes; the number 0.
// - REG_DWORD: the data as an unsigned number read least significant byte first,
//   and in hexadecimal most significant byte first, two digits a byte. Data of odd
//   length fails with the invalid-argument failure (5); a number too large for a
//   double fails with the overflow failure (6).
// - any other type: text in the system's ANSI code page, decoded through
//   `codePage`, without its very last NUL; the bytes as stored, without that NUL,
//   or one byte of 0 when nothing else remains; the number 0.
ValueRenderings RenderValue(std::uint32_t type, std::span<const std::uint8_t> data,
                            RegistryApi& codePage);

}  // namespace velbor
