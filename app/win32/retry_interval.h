#pragma once

namespace velbor {

// The retry timer's interval in milliseconds: the one part of the start-up that
// differs between installers (the tests' run faster), so it is compiled on its own,
// once per interval, and the rest of the start-up once for all.
extern const unsigned int kRetryIntervalMilliseconds;

}  // namespace velbor
