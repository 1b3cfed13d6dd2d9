#pragma once

#include <vector>

#include "host/file_hold.h"
#include "host/processes.h"
#include "host/text.h"

namespace velbor {

// One start of a registration tool: `program` is empty when the command line's
// first word names it.
struct ToolRun {
  Text program;
  Text commandLine;
  WindowStyle windowStyle = WindowStyle::kHidden;
};

// The tool starts that register the file `fileName` in `folder` (which ends with
// "\"), in order, as its registration kind asks: "R" registers a .NET assembly,
// any other kind a COM server. regasm counts as missing (failure 53) unless its
// fixed path lies in the running system's Windows folder.
std::vector<ToolRun> RegistrationRuns(Processes& processes, const Text& folder,
                                      const Text& fileName, const Text& kind);

// Starts the registration of the file `fileName` just written into `folder` (which
// ends with "\"), as its registration kind asks: "R" registers a .NET assembly,
// any other kind a COM server. The tools run in `folder` and keep `hold` until
// they have ended. Nobody waits for them; only a tool that cannot be started
// fails, and regasm counts as missing unless its fixed path lies in the running
// system's Windows folder.
void StartRegistration(Processes& processes, const Text& folder, const Text& fileName,
                       const Text& kind, const SharedFileHold& hold);

// The type library's name for regasm's "/tlb:": the file's name with every ".dll",
// in any letter case, turned into ".tlb", so that it never names the assembly
// itself, and quoted when it holds a blank.
Text TypeLibraryArgument(Text fileName);

}  // namespace velbor
