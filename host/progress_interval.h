#pragma once

#include <cstdint>

namespace velbor {

// How often, in milliseconds, a caller that waits for a write or for the payload's
// check hears how far it has come: twice as often as the window's thread has to
// look at its messages.
inline constexpr std::uint32_t kProgressIntervalMs = 50;

}  // namespace velbor
