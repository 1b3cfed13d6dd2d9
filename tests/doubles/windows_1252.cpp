#include "tests/doubles/windows_1252.h"

#include <algorithm>
#include <array>

namespace velbor::testing {
namespace {

// Bytes 0x80 to 0x9F. The five that the code page leaves undefined stand for the
// control characters of the same number, as Windows decodes them.
constexpr std::array<char16_t, 32> kHighControls = {
    u'\u20AC', u'\u0081', u'\u201A', u'\u0192', u'\u201E', u'\u2026', u'\u2020', u'\u2021',
    u'\u02C6', u'\u2030', u'\u0160', u'\u2039', u'\u0152', u'\u008D', u'\u017D', u'\u008F',
    u'\u0090', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
    u'\u02DC', u'\u2122', u'\u0161', u'\u203A', u'\u0153', u'\u009D', u'\u017E', u'\u0178'};

char ByteOf(char16_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
  const auto found = std::find(kHighControls.begin(), kHighControls.end(), c);
  if (found == kHighControls.end()) return '?';
  return static_cast<char>(0x80 + (found - kHighControls.begin()));
}

}  // namespace

std::string Windows1252FromText(TextView text) {
  std::string bytes;
  for (const char16_t c : text) bytes += ByteOf(c);
  return bytes;
}

Text TextFromWindows1252(std::string_view bytes) {
  Text text;
  for (const char byte : bytes) {
    const auto code = static_cast<unsigned char>(byte);
    text +=
        code >= 0x80 && code <= 0x9F ? kHighControls[code - 0x80u] : static_cast<char16_t>(code);
  }
  return text;
}

}  // namespace velbor::testing
