// Stands beside a program under the name of a system library, as an attacker's
// library would; it does nothing, so only the file it was loaded from tells it apart.
#include "host/win32/windows_api.h"

BOOL WINAPI DllMain(HINSTANCE, DWORD, void*) { return TRUE; }
