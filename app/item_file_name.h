#pragma once

#include "host/text.h"

namespace velbor {

// Whether an item's file name stays inside the folder it is appended to: one or more
// pieces separated by "/" or "\" (a subfolder below the proven folder), none of them
// empty, "." or "..", none holding ":" (a drive or an alternate data stream) or a
// character no file name may hold, none a device name (NUL, COM1, "nul.txt", "NUL .txt"), and
// none ending in a dot or a blank, which Windows would drop, so that the name would
// reach another file than the one named.
bool IsConfinedFileName(TextView name);

}  // namespace velbor
