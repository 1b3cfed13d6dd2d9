#pragma once

#include <vector>

#include "host/file_holders.h"
#include "host/text.h"

namespace velbor {

// Who keeps a file in use, as the log and the stop box name them:
// "in uso da Corsenta.exe (PID 412), Spooler di stampa (servizio, PID 88)"; the
// empty text when nobody is named.
Text HoldersText(const std::vector<FileHolder>& holders);

}  // namespace velbor
