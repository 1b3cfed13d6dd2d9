#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace velbor {

// The program's text is UTF-16, as the string table stores it and as the wide
// Windows API takes it, so texts reach the platform without conversion.
using Text = std::u16string;
using TextView = std::u16string_view;

// A whole number as decimal digits, with a leading "-" when negative.
Text DecimalText(std::int64_t value);

// UTF-8 form of a text, for diagnostics meant for a developer's terminal.
std::string Utf8FromText(TextView text);

}  // namespace velbor
