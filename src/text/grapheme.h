// Extended grapheme clusters (Unicode Standard Annex #29, Unicode 15.0) of UTF-16 text, and
// reversal that keeps each cluster whole: 👍🏽, 👨‍👩‍👧, 🇯🇵 or e + U+0301 stay one character.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kakehashi {

// The clusters of `text` in order; together they are exactly `text`. An unpaired surrogate
// counts as a code point of its own with the default property Other: it never pairs with
// another unit, though marks that follow it join it like they join any other character.
std::vector<std::u16string_view> GraphemeClusters(std::u16string_view text);

// The clusters of `text` in reverse order, each unchanged; every code unit is kept.
std::u16string ReverseGraphemes(std::u16string_view text);

}  // namespace kakehashi
