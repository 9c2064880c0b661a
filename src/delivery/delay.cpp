// Numeric-prefix parsing and rounding for the delay.
#include "delivery/delay.h"

#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

namespace kakehashi {
namespace {

constexpr bool IsSkipped(char16_t ch) { return ch == u' ' || ch == u'\u3000' || ch == u'\t' || ch == u'\n'; }
constexpr bool IsDigit(char16_t ch) { return ch >= u'0' && ch <= u'9'; }

int DigitValue(char16_t ch) {
  if (IsDigit(ch)) return ch - u'0';
  if (ch >= u'a' && ch <= u'f') return ch - u'a' + 10;
  if (ch >= u'A' && ch <= u'F') return ch - u'A' + 10;
  return 99;
}

double RadixInteger(std::u16string_view digits, int radix) {
  double value = 0;
  for (char16_t ch : digits) {
    const int d = DigitValue(ch);
    if (d >= radix) break;
    value = value * radix + d;
  }
  return value;
}

}  // namespace

double NumericPrefix(std::u16string_view text) {
  std::u16string s;
  s.reserve(text.size());
  for (char16_t ch : text) {
    if (!IsSkipped(ch)) s.push_back(ch);
  }

  if (s.size() >= 2 && s[0] == u'&') {
    if (s[1] == u'H' || s[1] == u'h') return RadixInteger(std::u16string_view(s).substr(2), 16);
    if (s[1] == u'O' || s[1] == u'o') return RadixInteger(std::u16string_view(s).substr(2), 8);
    return 0;
  }

  // Collect the longest prefix of the form [sign] digits [. digits] [(E|D) [sign] digits] as
  // ASCII, then let from_chars (locale-independent) read it.
  std::string number;
  std::size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) negative = s[i++] == u'-';
  std::size_t mantissa_digits = 0;
  for (; i < s.size() && IsDigit(s[i]); ++i, ++mantissa_digits) number.push_back(static_cast<char>(s[i]));
  if (i < s.size() && s[i] == u'.') {
    number.push_back('.');
    for (++i; i < s.size() && IsDigit(s[i]); ++i, ++mantissa_digits) number.push_back(static_cast<char>(s[i]));
  }
  if (mantissa_digits == 0) return 0;
  if (i < s.size() && (s[i] == u'E' || s[i] == u'e' || s[i] == u'D' || s[i] == u'd')) {
    std::size_t j = i + 1;
    std::string exponent = "e";
    if (j < s.size() && (s[j] == u'+' || s[j] == u'-')) exponent.push_back(static_cast<char>(s[j++]));
    const std::size_t first_digit = j;
    for (; j < s.size() && IsDigit(s[j]); ++j) exponent.push_back(static_cast<char>(s[j]));
    if (j > first_digit) number += exponent;
  }

  // strtod reads '.' as the decimal point: the program never changes the C locale. Out of
  // range it gives HUGE_VAL or 0, which is what the rounding below expects.
  const double value = std::strtod(number.c_str(), nullptr);
  return negative ? -value : value;
}

std::int32_t RoundToInt32(double value) {
  constexpr double kMax = std::numeric_limits<std::int32_t>::max();
  constexpr double kMin = std::numeric_limits<std::int32_t>::min();
  if (std::isnan(value)) return 0;
  // The default rounding mode, round-to-nearest, sends halves to the even neighbour.
  const double rounded = std::nearbyint(value);
  if (rounded >= kMax) return std::numeric_limits<std::int32_t>::max();
  if (rounded <= kMin) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(rounded);
}

std::uint32_t DelayMilliseconds(std::u16string_view wait_text) {
  const std::int32_t ms = RoundToInt32(NumericPrefix(wait_text));
  return ms < 0 ? 0u : static_cast<std::uint32_t>(ms);
}

}  // namespace kakehashi
