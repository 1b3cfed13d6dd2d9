#pragma once

#include <cstdint>

#include "host/text.h"

namespace velbor {

// The numeric value of a text, read as the package's item count is read: blanks,
// tabs and line feeds are skipped wherever they stand; then an optional sign,
// digits, an optional decimal point with digits and an optional exponent (E or D in
// either case, with an optional sign). Reading stops at the first character that
// cannot continue the number, and a text without a leading number reads as 0.
// Independent of the C locale. A value too large for a double is failure 6; one
// too small reads as 0.
double ReadNumericValue(TextView text);

// The highest item index for a count text: its value minus 1, rounded to the
// nearest whole number with halves going to the even neighbour. Failure 6 when the
// result lies outside the 32-bit range.
std::int32_t LastIndexFromCount(TextView countText);

}  // namespace velbor
