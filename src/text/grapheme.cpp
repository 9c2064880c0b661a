// Grapheme cluster boundaries by the rules GB1–GB999 of UAX #29 (Unicode 15.0), on UTF-16.
#include "text/grapheme.h"

#include <algorithm>

#include "text/grapheme_data.h"
#include "text/text_shaping.h"

namespace kakehashi {
namespace {

using enum GraphemeBreak;


struct CodePoint {
  char32_t value;
  std::size_t units;  // 1, or 2 for a surrogate pair
};

// The code point that starts at `i`; an unpaired surrogate is taken as its own value.
CodePoint DecodeAt(std::u16string_view text, std::size_t i) {
  const char16_t ch = text[i];
  if (IsHighSurrogate(ch) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
    return {0x10000 + ((char32_t{ch} - 0xD800) << 10) + (char32_t{text[i + 1]} - 0xDC00), 2};
  }
  return {ch, 1};
}

GraphemeBreak GraphemeBreakOf(char32_t cp) {
  const std::span<const std::uint32_t> ranges = GraphemeBreakRanges();
  // The last entry whose first code point is cp or below; the first entry starts at 0.
  const auto after = std::upper_bound(ranges.begin(), ranges.end(), GraphemeRange(cp, kOther) | 0xFFu);
  const auto property = static_cast<GraphemeBreak>(*(after - 1) & 0xFFu);
  if (property != kHangulSyllable) return property;
  return (cp - kHangulSyllableFirst) % kHangulTrailingCount == 0 ? kLv : kLvt;
}

constexpr bool IsControlLike(GraphemeBreak p) { return p == kControl || p == kCR || p == kLF; }

// What the rules need to know about the text before a position beyond its last code point.
struct Context {
  // The text ends in Extended_Pictographic Extend* ZWJ (GB11).
  bool pictographic_zwj = false;
  // The text ends in an odd number of regional indicators (GB12, GB13).
  bool odd_regional_indicators = false;
};

bool IsBoundary(GraphemeBreak before, GraphemeBreak after, const Context& context) {
  if (before == kCR && after == kLF) return false;                                   // GB3
  if (IsControlLike(before) || IsControlLike(after)) return true;                    // GB4, GB5
  if (before == kL && (after == kL || after == kV || after == kLv || after == kLvt)) return false;  // GB6
  if ((before == kLv || before == kV) && (after == kV || after == kT)) return false;  // GB7
  if ((before == kLvt || before == kT) && after == kT) return false;                 // GB8
  if (after == kExtend || after == kZwj || after == kSpacingMark) return false;       // GB9, GB9a
  if (before == kPrepend) return false;                                              // GB9b
  if (after == kExtendedPictographic && context.pictographic_zwj) return false;      // GB11
  if (before == kRegionalIndicator && after == kRegionalIndicator) {
    return !context.odd_regional_indicators;                                         // GB12, GB13
  }
  return true;                                                                       // GB999
}

// Extended_Pictographic Extend* ZWJ, followed code point by code point.
enum class Pictographic { kNone, kSeen, kSeenZwj };

}  // namespace

std::vector<std::u16string_view> GraphemeClusters(std::u16string_view text) {
  std::vector<std::u16string_view> clusters;
  std::size_t start = 0;
  GraphemeBreak before = kOther;
  Pictographic pictographic = Pictographic::kNone;
  bool odd_regional_indicators = false;
  for (std::size_t i = 0; i < text.size();) {
    const CodePoint cp = DecodeAt(text, i);
    const GraphemeBreak after = GraphemeBreakOf(cp.value);
    const Context context{pictographic == Pictographic::kSeenZwj, odd_regional_indicators};
    if (i > 0 && IsBoundary(before, after, context)) {  // GB1: no cluster before the text
      clusters.push_back(text.substr(start, i - start));
      start = i;
    }
    if (after == kExtendedPictographic) {
      pictographic = Pictographic::kSeen;
    } else if (pictographic == Pictographic::kSeen && after == kZwj) {
      pictographic = Pictographic::kSeenZwj;
    } else if (!(pictographic == Pictographic::kSeen && after == kExtend)) {
      pictographic = Pictographic::kNone;
    }
    odd_regional_indicators = after == kRegionalIndicator && !odd_regional_indicators;
    before = after;
    i += cp.units;
  }
  if (start < text.size()) clusters.push_back(text.substr(start));  // GB2
  return clusters;
}

std::u16string ReverseGraphemes(std::u16string_view text) {
  const std::vector<std::u16string_view> clusters = GraphemeClusters(text);
  std::u16string out;
  out.reserve(text.size());
  for (auto it = clusters.rbegin(); it != clusters.rend(); ++it) out.append(*it);
  return out;
}

}  // namespace kakehashi
