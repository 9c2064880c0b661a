// The delay before each press, from the text of the Wait box: the numeric-prefix rule of
// the classic Val() function, rounded half to even into whole milliseconds.
#pragma once

#include <cstdint>
#include <string_view>

namespace kakehashi {

// The number at the start of `text`: blanks (U+0020, U+3000), tabs and line feeds anywhere
// are skipped; an optional sign, digits, a decimal point with digits and an exponent with
// E or D are read up to the first character that does not fit; "&H" and "&O" introduce a
// hexadecimal or octal integer. A text with no number at its start gives 0.
double NumericPrefix(std::u16string_view text);

// NumericPrefix rounded to the nearest 32-bit signed integer, a half going to the even
// neighbour; values beyond the range are clamped to it.
std::int32_t RoundToInt32(double value);

// The delay in milliseconds that the engine sleeps for `wait_text`. A negative value
// waits 0 ms (the platform would read it as an unsigned time of about 49 days).
std::uint32_t DelayMilliseconds(std::u16string_view wait_text);

}  // namespace kakehashi
