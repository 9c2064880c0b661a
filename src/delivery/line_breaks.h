// Line ends of the message box: CR LF only. A lone CR or LF is a line break in some edit
// controls and a character in others, so it is turned into CR LF wherever text comes in.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kakehashi {

// True when `text` (UTF-16, in char16_t or a 16-bit wchar_t) holds a CR or LF that is not
// part of a CR LF pair. One comparison for most characters: it runs on every keystroke.
template <typename Char>
constexpr bool HasLoneLineBreakIn(std::basic_string_view<Char> text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] > Char('\r')) continue;
    if (text[i] == Char('\n')) return true;
    if (text[i] == Char('\r')) {
      if (i + 1 == text.size() || text[i + 1] != Char('\n')) return true;
      ++i;
    }
  }
  return false;
}

inline bool HasLoneLineBreak(std::u16string_view text) { return HasLoneLineBreakIn(text); }

// `text` with every lone CR and every lone LF replaced by CR LF.
std::u16string ToCrLf(std::u16string_view text);

// Where position `position` of `text` (0 to its size; a caret or selection end) lies in
// ToCrLf(text): the same character stays on either side of it.
std::size_t CrLfPosition(std::u16string_view text, std::size_t position);

}  // namespace kakehashi
