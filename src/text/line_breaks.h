// Line ends of the message box: CR LF only. A lone CR or LF is a line break in some edit
// controls and a character in others, so it is turned into CR LF wherever text comes in.
// For UTF-16 text in char16_t (portable code) or in Windows' 16-bit wchar_t.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

namespace kakehashi {

namespace line_breaks_detail {

// Calls `on_lone(index)` for every lone CR or LF of `text` before `end`, in order.
template <typename Char, typename OnLone>
constexpr void ForEachLoneBreak(std::basic_string_view<Char> text, std::size_t end, OnLone on_lone) {
  end = std::min(end, text.size());
  for (std::size_t i = 0; i < end; ++i) {
    if (text[i] != Char('\r') && text[i] != Char('\n')) continue;
    if (text[i] == Char('\r') && i + 1 < text.size() && text[i + 1] == Char('\n')) {
      ++i;  // a pair: its LF is no break of its own
      continue;
    }
    on_lone(i);
  }
}

}  // namespace line_breaks_detail

// True when `text` holds a CR or LF that is not part of a CR LF pair. One comparison for
// most characters: it runs on every change of the message box.
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

// Where position `position` of `text` (0 to its size; a caret or selection end) lies in
// ToCrLfIn(text) (below): the same character stays on either side of it.
template <typename Char>
constexpr std::size_t CrLfPositionIn(std::basic_string_view<Char> text, std::size_t position) {
  position = std::min(position, text.size());
  std::size_t added = 0;
  line_breaks_detail::ForEachLoneBreak(text, position, [&](std::size_t) { ++added; });
  return position + added;
}

// `text` with every lone CR and every lone LF replaced by CR LF.
template <typename Char>
std::basic_string<Char> ToCrLfIn(std::basic_string_view<Char> text) {
  std::basic_string<Char> out(CrLfPositionIn(text, text.size()), Char('\n'));
  std::size_t at = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    // An LF not after a CR gets one; a CR not before an LF keeps the LF that `out` holds.
    if (text[i] == Char('\n') && (i == 0 || text[i - 1] != Char('\r'))) out[at++] = Char('\r');
    out[at++] = text[i];
    if (text[i] == Char('\r') && (i + 1 == text.size() || text[i + 1] != Char('\n'))) ++at;
  }
  return out;
}

inline bool HasLoneLineBreak(std::u16string_view text) { return HasLoneLineBreakIn(text); }
inline std::u16string ToCrLf(std::u16string_view text) { return ToCrLfIn(text); }
inline std::size_t CrLfPosition(std::u16string_view text, std::size_t position) {
  return CrLfPositionIn(text, position);
}

}  // namespace kakehashi
