#pragma once

#include "host/processes.h"
#include "host/text.h"

namespace velbor {

// Starts the registration of the file `fileName` just written into `folder` (which
// ends with "\"), as its registration kind asks: "R" registers a .NET assembly,
// any other kind a COM server. Nobody waits for the tools; only a tool that cannot
// be started fails.
void StartRegistration(Processes& processes, const Text& folder, const Text& fileName,
                       const Text& kind);

}  // namespace velbor
