#include "paths/template_text.h"

namespace velbor {
bool StartsWithIgnoringAsciiCase(TextView text, TextView prefix) {
  return text.size() >= prefix.size() &&
         EqualIgnoringAsciiCase(text.substr(0, prefix.size()), prefix);
}

TextView FirstCharacters(TextView text, std::size_t count) {
  std::size_t end = 0;
  for (; count > 0 && end < text.size(); --count) {
    end += SurrogatePairAt(text, end) ? 2 : 1;
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
