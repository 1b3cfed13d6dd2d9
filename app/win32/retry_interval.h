#pragma once

namespace velbor {

// The retry timer's interval in milliseconds: the one thing that differs between
// installers built from these sources, so it is compiled on its own, once per
// interval, and the rest of the start-up once for all.
extern const unsigned int kRetryIntervalMilliseconds;

}  // namespace velbor
