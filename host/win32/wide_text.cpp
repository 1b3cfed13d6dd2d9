#include "host/win32/wide_text.h"

#include "host/failure.h"

namespace velbor {

std::wstring WideFromText(TextView text) { return std::wstring(text.begin(), text.end()); }

Text TextFromWide(std::wstring_view wide) { return Text(wide.begin(), wide.end()); }

std::wstring WideNameFromText(TextView text) {
  if (text.find(u'\0') != TextView::npos) throw HostFailure(failure::kBadFileName);
  return WideFromText(text);
}

}  // namespace velbor
