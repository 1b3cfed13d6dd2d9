#include "app/item_count.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <system_error>

#include "host/failure.h"

namespace velbor {
namespace {

bool IsSkipped(char16_t c) { return c == u' ' || c == u'\t' || c == u'\n'; }

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

bool IsExponentMark(char16_t c) { return c == u'E' || c == u'e' || c == u'D' || c == u'd'; }

// The characters of a text that reading looks at, with the skipped ones gone.
class NumberScanner {
 public:
  explicit NumberScanner(TextView text) : text_(text) { SkipIgnored(); }

  bool AtEnd() const { return position_ == text_.size(); }
  char16_t Peek() const { return text_[position_]; }

  void Advance() {
    ++position_;
    SkipIgnored();
  }

  bool Accept(char16_t c) {
    if (AtEnd() || Peek() != c) return false;
    Advance();
    return true;
  }

  std::string Digits() {
    std::string digits;
    while (!AtEnd() && IsDigit(Peek())) {
      digits += static_cast<char>(Peek());
      Advance();
    }
    return digits;
  }

 private:
  void SkipIgnored() {
    while (position_ < text_.size() && IsSkipped(text_[position_])) ++position_;
  }

  TextView text_;
  std::size_t position_ = 0;
};

// The exponent's digits as a number, saturating instead of overflowing: the
// caller clamps it to a range where only its sign and size matter.
std::int64_t SaturatedValue(const std::string& digits) {
  constexpr std::int64_t kLimit = std::numeric_limits<std::int64_t>::max() / 10 - 9;
  std::int64_t value = 0;
  for (char digit : digits) {
    if (value > kLimit) return kLimit;
    value = value * 10 + (digit - '0');
  }
  return value;
}

struct DecimalNumber {
  bool negative = false;
  std::string integerDigits;
  std::string fractionDigits;
  std::int64_t exponent = 0;
};

DecimalNumber ScanNumber(TextView text) {
  NumberScanner scanner(text);
  DecimalNumber number;
  if (scanner.Accept(u'-')) {
    number.negative = true;
  } else {
    scanner.Accept(u'+');
  }
  number.integerDigits = scanner.Digits();
  if (scanner.Accept(u'.')) number.fractionDigits = scanner.Digits();
  if (number.integerDigits.empty() && number.fractionDigits.empty()) return {};

  if (!scanner.AtEnd() && IsExponentMark(scanner.Peek())) {
    scanner.Advance();
    const bool negativeExponent = scanner.Accept(u'-');
    if (!negativeExponent) scanner.Accept(u'+');
    // A mark without digits after it ends the number before the mark.
    const std::int64_t magnitude = SaturatedValue(scanner.Digits());
    number.exponent = negativeExponent ? -magnitude : magnitude;
  }
  return number;
}

// Whether a number that a double cannot hold is too large rather than too small:
// the decimal position of its first significant digit decides.
bool IsTooLarge(const DecimalNumber& number) {
  const std::string digits = number.integerDigits + number.fractionDigits;
  const auto firstSignificant = static_cast<std::int64_t>(digits.find_first_not_of('0'));
  const auto integerCount = static_cast<std::int64_t>(number.integerDigits.size());
  return integerCount - firstSignificant - 1 + number.exponent > 0;
}

double RoundHalfToEven(double value) {
  const double below = std::floor(value);
  const double excess = value - below;
  if (excess > 0.5) return below + 1;
  if (excess < 0.5) return below;
  return std::fmod(below, 2.0) == 0 ? below : below + 1;
}

}  // namespace

double ReadNumericValue(TextView text) {
  DecimalNumber number = ScanNumber(text);
  // Beyond these bounds every non-zero mantissa overflows or vanishes alike, so
  // clamping keeps the outcome and keeps the exponent's text short.
  constexpr std::int64_t kBeyondDoubleRange = 400;
  number.exponent = std::clamp(
      number.exponent, -static_cast<std::int64_t>(number.integerDigits.size()) - kBeyondDoubleRange,
      static_cast<std::int64_t>(number.fractionDigits.size()) + kBeyondDoubleRange);

  std::string plain = number.negative ? "-" : "";
  plain += number.integerDigits.empty() ? "0" : number.integerDigits;
  if (!number.fractionDigits.empty()) {
    plain += '.';
    plain += number.fractionDigits;
  }
  plain += 'e';
  plain += std::to_string(number.exponent);

  double value = 0;
  const std::from_chars_result result =
      std::from_chars(plain.data(), plain.data() + plain.size(), value, std::chars_format::general);
  const bool outOfRange = result.ec == std::errc::result_out_of_range || !std::isfinite(value);
  if (outOfRange && IsTooLarge(number)) throw HostFailure(failure::kOverflow);
  return outOfRange ? 0 : value;
}

std::int32_t LastIndexFromCount(TextView countText) {
  const double lastIndex = RoundHalfToEven(ReadNumericValue(countText) - 1.0);
  if (lastIndex < std::numeric_limits<std::int32_t>::min() ||
      lastIndex > std::numeric_limits<std::int32_t>::max()) {
    throw HostFailure(failure::kOverflow);
  }
  return static_cast<std::int32_t>(lastIndex);
}

}  // namespace velbor
