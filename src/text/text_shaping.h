// The rules that turn the text of the message box into the character codes posted to a
// chat window: blanks, trailing-blank cut, reversal, character codes, the line limit and
// the header/footer decision. Pure functions; only the code page conversion is used.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kakehashi {

enum class SendMode : std::int16_t {
  kLines = 1,          // several lines, one line at a time
  kLinesReversed = 2,  // several lines, each reversed
  kSingleReversed = 3  // one line, reversed; the press is optional
};

// Check-box values as the controls report them.
inline constexpr int kUnchecked = 0;
inline constexpr int kChecked = 1;

constexpr bool IsHighSurrogate(char16_t ch) { return ch >= 0xD800 && ch <= 0xDBFF; }
constexpr bool IsLowSurrogate(char16_t ch) { return ch >= 0xDC00 && ch <= 0xDFFF; }
// The code units of the character at `i` of `text`: 2 for a surrogate pair, else 1.
constexpr std::size_t UnitsAt(std::u16string_view text, std::size_t i) {
  return i + 1 < text.size() && IsHighSurrogate(text[i]) && IsLowSurrogate(text[i + 1]) ? 2 : 1;
}

// The space U+0020 and the ideographic space U+3000; nothing else is a blank.
constexpr bool IsBlank(char16_t ch) { return ch == u' ' || ch == u'\u3000'; }

// A line as the edit control hands it over when read into a space-filled buffer by its
// byte count: the line followed by one space per double-byte character.
std::u16string LineAsRead(std::u16string_view line);

// The same, from the bytes the edit control copied: decoded, then padded with spaces to as
// many characters as there are bytes.
std::u16string LineAsReadFromBytes(std::string_view bytes);

// Cuts the final run of blanks back to its first blank.
std::u16string CutTrailingBlanks(std::u16string_view text);

// The characters in reverse order (a surrogate pair stays one character).
std::u16string ReverseText(std::u16string_view text);

// The number posted as wParam of WM_IME_CHAR for `ch`: its single byte, or its double-byte
// code taken as a signed 16-bit number and sign-extended. A character without a code in
// the ANSI code page gives the code of '?', as the platform's conversion does.
std::int32_t CharCode(char16_t ch);

// Whether a Unicode target can take `text`: anything but unpaired surrogates and control
// characters (C0, DEL, C1) other than TAB.
bool UnicodeCanHold(std::u16string_view text);

// CharCode of every character of `text`, in order.
std::vector<std::int32_t> CharCodes(std::u16string_view text);

// True when a send must be refused: a chat (not Messenger) target, more than four lines,
// and the limit not lifted.
bool LineLimitExceeded(bool is_messenger, std::int32_t line_count, int limit_value);

// True when the header/footer text goes out on one side of a line.
bool PlusWordWanted(int plus_check_value, int side_value, std::u16string_view plus_word);

// The text of one line as it is posted, by mode: modes 1 and 2 take the line as read and
// cut its trailing blanks (mode 2 then reverses); mode 3 reverses the whole text, uncut.
std::u16string ShapeLine(SendMode mode, std::u16string_view text);

// Every code posted for one line: header, shaped text, footer.
std::vector<std::int32_t> LineCodes(SendMode mode, std::u16string_view text, bool header, bool footer,
                                    std::u16string_view plus_word);

}  // namespace kakehashi
