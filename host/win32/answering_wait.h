#pragma once

#include "host/win32/windows_api.h"

namespace velbor {

// Waits until `object` is signalled, at most `milliseconds`; true when it was.
// Meanwhile the calling thread answers the messages sent to its windows and
// repaints them, taking nothing else from its queue, so that neither the system
// nor a user sees a window hang. Fails when the wait itself fails.
bool WaitAnsweringMessages(HANDLE object, DWORD milliseconds);

}  // namespace velbor
