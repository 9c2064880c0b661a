// The Grapheme_Cluster_Break property (with Extended_Pictographic folded in) of every code
// point, as the sorted range table that tools/gen_grapheme_data.py writes into grapheme_data.cpp.
#pragma once

#include <cstdint>
#include <span>

namespace kakehashi {

enum class GraphemeBreak : std::uint8_t {
  kOther,
  kCR,
  kLF,
  kControl,
  kExtend,
  kZwj,
  kRegionalIndicator,
  kPrepend,
  kSpacingMark,
  kL,
  kV,
  kT,
  kLv,
  kLvt,
  kExtendedPictographic,
  // Only in the table: the precomposed Hangul syllables, LV where the syllable has no
  // trailing consonant and LVT otherwise (the generator checks this against the data).
  kHangulSyllable,
};

// The first precomposed Hangul syllable, and the number of trailing-consonant choices
// (none included) between two LV syllables.
inline constexpr char32_t kHangulSyllableFirst = 0xAC00;
inline constexpr char32_t kHangulTrailingCount = 28;

// One table entry: the range's first code point shifted left by eight, the property in the
// low byte. A range runs up to the next entry's first code point; the first starts at 0.
constexpr std::uint32_t GraphemeRange(char32_t first, GraphemeBreak property) {
  return static_cast<std::uint32_t>(first) << 8 | static_cast<std::uint32_t>(property);
}

// The table, sorted by first code point (generated).
std::span<const std::uint32_t> GraphemeBreakRanges();

}  // namespace kakehashi
