#pragma once

#include <span>

namespace velbor {

// Keeps every library that the program loads by name to the system's own folder:
// never the program's folder (often a downloads folder) nor the current one. Call
// it first thing at start-up.
void RestrictLibrarySearchToSystem();

// What RestrictLibrarySearchToSystem does where the system cannot limit the search
// itself (Windows 7 without its library-loading update, which still searches the
// program's folder first): the current folder leaves the search, and every library
// of LateLoadedSystemLibraries is loaded from the system folder by its full path,
// so that a later load by name finds it loaded and searches nothing.
void RestrictLibrarySearchWithoutDefaultDirectories();

// The system libraries, outside Windows 7's known libraries (which are always
// taken from the system folder), that system components load by name while this
// program runs.
std::span<const wchar_t* const> LateLoadedSystemLibraries();

}  // namespace velbor
