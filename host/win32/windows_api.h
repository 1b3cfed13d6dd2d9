#pragma once

// The one way into the Win32 headers. <windows.h> defines DeleteFile as a macro
// for DeleteFileW, which would rename FileSystem::DeleteFile wherever both meet.
#include <windows.h>

#undef DeleteFile
