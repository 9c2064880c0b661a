// One line of the practice chat program's message log. Portable, so that the format can
// be checked against the tests' reader without Windows.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace practice_chat {

// "<ms> <role> <message> <wparam> <lparam>\n": milliseconds with three decimals, then the
// message number and the low 32 bits of wParam and lParam in lower-case hex,
// e.g. "1523.406 chat-edit 0286 ffff82a0 00000000".
std::string FormatLogLine(double time_ms, std::string_view role, std::uint32_t message, std::uint32_t wparam,
                          std::uint32_t lparam);

// "<ms> <role> \"<text>\"\n": a line that a window sent, e.g. "1523.406 today \"あ👍🏽A\"".
// The text is UTF-8 between double quotes; a backslash escapes '\\', '"', "\r", "\n", "\t"
// and, as "\uXXXX" (four upper-case hex digits), the other control characters and any
// surrogate without its partner, so that every UTF-16 text comes back unit for unit.
std::string FormatSentLine(double time_ms, std::string_view role, std::u16string_view text);

}  // namespace practice_chat
