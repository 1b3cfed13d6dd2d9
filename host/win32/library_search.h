#pragma once

namespace velbor {

// Keeps every library that the program loads by name to the system's own folder:
// never the program's folder (often a downloads folder) nor the current one. Call
// it first thing at start-up.
void RestrictLibrarySearchToSystem();

}  // namespace velbor
