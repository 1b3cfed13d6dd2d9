#pragma once

#include <cstdint>

#include "host/failure.h"
#include "host/win32/windows_api.h"

namespace velbor {

// The failure number that a Win32 error code stands for.
std::int32_t FailureNumberFromWin32Error(DWORD error);

// The failure for a Win32 error code, with its standard description; a file that
// another program holds is told apart (HostFailure::IsInUse).
HostFailure FailureFromWin32Error(DWORD error);

// The failure for the calling thread's last Win32 error; read it before anything
// else can overwrite it.
HostFailure FailureFromLastError();

}  // namespace velbor
