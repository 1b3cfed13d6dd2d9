#include "app/win32/retry_interval.h"

namespace velbor {

const unsigned int kRetryIntervalMilliseconds = VELBOR_TIMER_MS;

}  // namespace velbor
