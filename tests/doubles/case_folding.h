#pragma once

#include "host/text.h"

namespace velbor::testing {

// A text with its letters in one case, for comparing names as Windows does:
// without regard to letter case. Covers the letters of ASCII, Latin-1, Greek and
// Cyrillic; independent of the C locale.
Text FoldCase(TextView text);

}  // namespace velbor::testing
