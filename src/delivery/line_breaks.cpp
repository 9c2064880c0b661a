// Turning lone CR and LF into CR LF, with caret positions carried along.
#include "delivery/line_breaks.h"

#include <algorithm>

namespace kakehashi {
namespace {

// Calls `on_lone(index)` for every lone CR or LF of `text` before `end`, in order.
template <typename OnLone>
void ForEachLoneBreak(std::u16string_view text, std::size_t end, OnLone on_lone) {
  end = std::min(end, text.size());
  for (std::size_t i = 0; i < end; ++i) {
    if (text[i] != u'\r' && text[i] != u'\n') continue;
    if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
      ++i;  // a pair: its LF is no break of its own
      continue;
    }
    on_lone(i);
  }
}

}  // namespace

std::u16string ToCrLf(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size() + text.size() / 8);
  std::size_t copied = 0;
  ForEachLoneBreak(text, text.size(), [&](std::size_t i) {
    out.append(text.substr(copied, i - copied));
    out.append(u"\r\n");
    copied = i + 1;
  });
  out.append(text.substr(copied));
  return out;
}

std::size_t CrLfPosition(std::u16string_view text, std::size_t position) {
  position = std::min(position, text.size());
  std::size_t added = 0;
  ForEachLoneBreak(text, position, [&](std::size_t) { ++added; });
  return position + added;
}

}  // namespace kakehashi
