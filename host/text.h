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

// Whether `a` and `b` are equal when the ASCII letters a to z are raised; every
// other character stands for itself, so no other letter may pass for an ASCII one.
bool EqualIgnoringAsciiCase(TextView a, TextView b);

// UTF-8 form of a text, for diagnostics meant for a developer's terminal.
std::string Utf8FromText(TextView text);

}  // namespace velbor
