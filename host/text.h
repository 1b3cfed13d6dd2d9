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

// `c` with the ASCII letters a to z raised; every other character stands for
// itself, so no other letter may pass for an ASCII one and no locale changes the
// answer.
constexpr char16_t AsciiUpperCase(char16_t c) {
  return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - (u'a' - u'A')) : c;
}

// `text` with each character raised as AsciiUpperCase raises it.
Text AsciiUpperCased(TextView text);

// Whether `a` and `b` are equal when raised as AsciiUpperCase raises them.
bool EqualIgnoringAsciiCase(TextView a, TextView b);

// A high surrogate followed by a low one is one character beyond the first 65,536;
// a surrogate on its own is no character.
constexpr bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
constexpr bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }
constexpr bool IsSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDFFF; }

// Whether a surrogate pair begins at `at` in `text`.
bool SurrogatePairAt(TextView text, std::size_t at);

// UTF-8 form of a text, for diagnostics meant for a developer's terminal.
std::string Utf8FromText(TextView text);

}  // namespace velbor
