#include "host/win32/answering_wait.h"

#include "host/win32/win32_failure.h"

namespace velbor {

bool WaitAnsweringMessages(HANDLE object, DWORD milliseconds) {
  const ULONGLONG deadline = GetTickCount64() + milliseconds;
  for (;;) {
    const ULONGLONG now = GetTickCount64();
    const DWORD left = now >= deadline ? 0 : static_cast<DWORD>(deadline - now);
    const DWORD woken =
        MsgWaitForMultipleObjects(1, &object, FALSE, left, QS_SENDMESSAGE | QS_PAINT);
    if (woken == WAIT_OBJECT_0) return true;
    if (woken == WAIT_TIMEOUT) return false;
    if (woken != WAIT_OBJECT_0 + 1) throw FailureFromLastError();
    MSG message;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE | PM_QS_PAINT)) {
      DispatchMessageW(&message);
    }
  }
}

}  // namespace velbor
