#pragma once

#include <string>
#include <string_view>

#include "host/text.h"

namespace velbor::testing {

// The Windows-1252 code page, the ANSI code page of the Wine prefix that the
// Windows tests run in. A character that it cannot carry becomes "?".
std::string Windows1252FromText(TextView text);
Text TextFromWindows1252(std::string_view bytes);

}  // namespace velbor::testing
