#pragma once

#include <string>

#include "host/text.h"

namespace velbor {

// The wide Win32 API takes wchar_t, which is UTF-16 on Windows as Text is; the
// characters are copied because the two types may not alias each other.
std::wstring WideFromText(TextView text);
Text TextFromWide(std::wstring_view wide);

// The text for an API that takes a terminated path or name. Fails with 52 when
// the text holds a NUL, which would silently cut it short and name another file.
std::wstring WideNameFromText(TextView text);

}  // namespace velbor
