#pragma once

#include <cstddef>

#include "host/text.h"

namespace velbor {

// Text operations on target templates and folders. They count characters, not
// UTF-16 code units: a surrogate pair is one character and is never cut in two.

// Whether `text` begins with `prefix` when both are upper-cased. Only the ASCII
// letters a to z are raised, and every other character stands for itself: the
// names compared with are ASCII, so no other letter (a dotless i, a long s) may
// pass for one of theirs, and the answer does not depend on the user's locale.
bool StartsWithIgnoringAsciiCase(TextView text, TextView prefix);

// The first `count` characters of `text`, or all of it when it is shorter.
TextView FirstCharacters(TextView text, std::size_t count);

// `text` with every occurrence of `what` (not empty) replaced by `with`: searched
// from the first character on, exactly, each occurrence after the last replaced.
Text ReplaceAll(TextView text, TextView what, TextView with);

// `folder` ending with "\": one is appended when it does not end with one, so the
// empty text gives "\".
Text WithTrailingBackslash(Text folder);

}  // namespace velbor
