#include "tests/doubles/case_folding.h"

namespace velbor::testing {
namespace {

char16_t UpperCase(char16_t c) {
  const auto shifted = [c](int offset) { return static_cast<char16_t>(c - offset); };
  if (c >= u'a' && c <= u'z') return shifted(0x20);
  if (c >= u'\u00E0' && c <= u'\u00FE' && c != u'\u00F7') return shifted(0x20);
  if (c == u'\u00FF') return u'\u0178';
  if (c >= u'\u03B1' && c <= u'\u03C9' && c != u'\u03C2') return shifted(0x20);
  if (c >= u'\u0430' && c <= u'\u044F') return shifted(0x20);
  if (c >= u'\u0450' && c <= u'\u045F') return shifted(0x50);
  return c;
}

}  // namespace

Text FoldCase(TextView text) {
  Text folded(text);
  for (char16_t& c : folded) c = UpperCase(c);
  return folded;
}

}  // namespace velbor::testing
