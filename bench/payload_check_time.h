#pragma once

#include <vector>

#include "host/resources.h"
#include "host/win32/image_file.h"

namespace velbor::bench {

// Seconds that each of `rounds` checks of the package in `package` takes, from the
// start of the check, as the installer starts it, until every item is hashed and
// found sound: the installer's own check thread, reading from `image` (which may be
// null). Throws when the payload is refused.
std::vector<double> SecondsToCheck(Resources& package, const ImageFile* image, int rounds);

}  // namespace velbor::bench
