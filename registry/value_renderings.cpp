#include "registry/value_renderings.h"

#include <cmath>
#include <string_view>

#include "host/failure.h"

namespace velbor {
namespace {

constexpr char16_t kHexDigits[] = u"0123456789ABCDEF";

void AppendHex(Text& text, std::uint8_t byte, bool leadingZero) {
  if (leadingZero || byte >= 0x10) text += kHexDigits[byte >> 4];
  text += kHexDigits[byte & 0x0F];
}

ValueRenderings RenderBinary(std::span<const std::uint8_t> data) {
  ValueRenderings renderings;
  for (const std::uint8_t byte : data) {
    if (!renderings.text.empty()) renderings.text += u' ';
    AppendHex(renderings.text, byte, false);
  }
  renderings.bytes.assign(data.begin(), data.end());
  return renderings;
}

ValueRenderings RenderDword(std::span<const std::uint8_t> data) {
  // The bytes go in pairs; a last byte without a partner has no rendering.
  if (data.size() % 2 != 0) throw HostFailure(failure::kInvalidArgument);
  ValueRenderings renderings;
  for (std::size_t k = 0; k < data.size(); ++k) {
    // ldexp keeps a zero byte at a high position zero, where 0 times an overflowed
    // power of 256 would give NaN.
    renderings.number += std::ldexp(data[k], static_cast<int>(8 * k));
  }
  if (!std::isfinite(renderings.number)) throw HostFailure(failure::kOverflow);
  for (std::size_t k = data.size(); k > 0; --k) AppendHex(renderings.text, data[k - 1], true);
  renderings.bytes.assign(data.begin(), data.end());
  return renderings;
}

ValueRenderings RenderText(std::span<const std::uint8_t> data, RegistryApi& codePage) {
  // Only the very last NUL goes: the strings of a REG_MULTI_SZ keep theirs.
  if (data.back() == 0) data = data.first(data.size() - 1);
  ValueRenderings renderings;
  if (data.empty()) {
    renderings.bytes.assign(1, 0);
    return renderings;
  }
  renderings.text = codePage.TextFromAnsi(
      std::string_view(reinterpret_cast<const char*>(data.data()), data.size()));
  renderings.bytes.assign(data.begin(), data.end());
  return renderings;
}

}  // namespace

ValueRenderings RenderValue(std::uint32_t type, std::span<const std::uint8_t> data,
                            RegistryApi& codePage) {
  switch (type) {
    case reg::kTypeBinary:
      return RenderBinary(data);
    case reg::kTypeDword:
      return RenderDword(data);
    default:
      return RenderText(data, codePage);
  }
}

}  // namespace velbor
