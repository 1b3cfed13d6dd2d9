#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "host/registry_api.h"
#include "host/text.h"

namespace velbor {

// A key path holds at most this many pieces, the root included.
inline constexpr std::size_t kMaxKeyPathParts = 32;

// The non-empty pieces of a key path, the root name first: the text is split at
// every "\" and each piece is trimmed of spaces (code 32 only), so that blanks
// around names and empty pieces do no harm. Nothing when there are more than
// kMaxKeyPathParts pieces.
std::optional<std::vector<Text>> SplitKeyPath(TextView keyPath);

// The predefined key that a root name stands for, in any letter case; only the
// full "HKEY_..." names are known.
std::optional<RegKey> PredefinedRoot(TextView rootName);

// The first `count` parts joined with "\" between them.
Text JoinKeyPath(const std::vector<Text>& parts, std::size_t count);

}  // namespace velbor
