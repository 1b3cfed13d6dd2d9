#pragma once

#include "host/text.h"
#include "host/win32/windows_api.h"

namespace velbor {

// What the log's head says of this run and the machine. Each answers what it can
// learn, and "?" for what it cannot: the log only tells, it never stops a run.

// The program's file version from its version block, "1.1.0.0".
Text ProgramVersion(HINSTANCE instance);

// The running Windows as it reports itself, even to a program that its manifest
// does not declare for it: "Windows 6.1.7601 Service Pack 1".
Text WindowsVersion();

// Whether the process runs elevated and as whom: "elevato, come NT AUTHORITY\SYSTEM".
Text ProcessIdentity();

}  // namespace velbor
