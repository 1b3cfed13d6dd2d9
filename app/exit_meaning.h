#pragma once

#include "host/text.h"

namespace velbor {

// What the installer's exit code tells the program that started it, for the log.
Text ExitMeaning(int exitCode);

}  // namespace velbor
