#pragma once

namespace velbor {

// How the program tells a script or a deployment tool the way it ended (as Windows
// Installer does): every item installed, ended by the user before that, or failed
// (its window could not be made, or its message loop broke down).
inline constexpr int kExitInstalled = 0;
inline constexpr int kExitEndedByUser = 1602;
inline constexpr int kExitFailed = 1603;
// Another installer runs, or a file stayed in use: a deployment tool tries again later.
inline constexpr int kExitTryLater = 1618;
inline constexpr int kExitLogNotOpened = 1622;
inline constexpr int kExitInvalidCommandLine = 1639;

}  // namespace velbor
