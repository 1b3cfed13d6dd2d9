#pragma once

#include "host/file_hold.h"
#include "host/processes.h"
#include "host/text.h"

namespace velbor {

// Starts the registration of the file `fileName` just written into `folder` (which
// ends with "\"), as its registration kind asks: "R" registers a .NET assembly,
// any other kind a COM server. The tools run in `folder` and keep `hold` until
// they have ended. Nobody waits for them; only a tool that cannot be started
// fails, and regasm counts as missing unless its fixed path lies in the running
// system's Windows folder.
void StartRegistration(Processes& processes, const Text& folder, const Text& fileName,
                       const Text& kind, SharedFileHold hold);

// The type library's name for regasm's "/tlb:": the file's name with every ".dll",
// in any letter case, turned into ".tlb", so that it never names the assembly
// itself, and quoted when it holds a blank.
Text TypeLibraryArgument(Text fileName);

}  // namespace velbor
