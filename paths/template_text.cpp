#include "paths/template_text.h"

#include <algorithm>

namespace velbor {
namespace {

char16_t AsciiUpperCase(char16_t c) {
  return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - (u'a' - u'A')) : c;
}

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

bool StartsWithIgnoringAsciiCase(TextView text, TextView prefix) {
  return text.size() >= prefix.size() &&
         std::equal(prefix.begin(), prefix.end(), text.begin(),
                    [](char16_t a, char16_t b) { return AsciiUpperCase(a) == AsciiUpperCase(b); });
}

TextView FirstCharacters(TextView text, std::size_t count) {
  std::size_t end = 0;
  for (; count > 0 && end < text.size(); --count) {
    const bool pair =
        IsHighSurrogate(text[end]) && end + 1 < text.size() && IsLowSurrogate(text[end + 1]);
    end += pair ? 2 : 1;
  }
  return text.substr(0, end);
}

Text ReplaceAll(TextView text, TextView what, TextView with) {
  Text replaced;
  std::size_t from = 0;
  for (std::size_t found = text.find(what); found != TextView::npos;
       found = text.find(what, from)) {
    replaced.append(text.substr(from, found - from));
    replaced.append(with);
    from = found + what.size();
  }
  replaced.append(text.substr(from));
  return replaced;
}

Text WithTrailingBackslash(Text folder) {
  if (folder.empty() || folder.back() != u'\\') folder += u'\\';
  return folder;
}

}  // namespace velbor
