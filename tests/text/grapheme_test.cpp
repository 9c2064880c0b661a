// Grapheme clusters against the Unicode Consortium's GraphemeBreakTest.txt, and reversal that
// keeps clusters (and unpaired surrogates) whole.
#include "text/grapheme.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace kakehashi {
namespace {

constexpr std::string_view kBreakMark = "\xC3\xB7";     // ÷ in UTF-8
constexpr std::string_view kNoBreakMark = "\xC3\x97";  // × in UTF-8

void AppendUtf16(char32_t cp, std::u16string& out) {
  if (cp < 0x10000) {
    out.push_back(static_cast<char16_t>(cp));
  } else {
    out.push_back(static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
  }
}

// The code unit offsets where the clusters end.
std::vector<std::size_t> ClusterEnds(std::u16string_view text) {
  std::vector<std::size_t> ends;
  std::size_t end = 0;
  for (std::u16string_view cluster : GraphemeClusters(text)) {
    EXPECT_FALSE(cluster.empty());
    EXPECT_EQ(cluster.data(), text.data() + end) << "clusters must follow each other";
    end += cluster.size();
    ends.push_back(end);
  }
  return ends;
}

TEST(Grapheme, EveryLineOfTheUnicodeTestFile) {
  const char* const path = KAKEHASHI_GRAPHEME_BREAK_TEST;
  std::ifstream file(path, std::ios::binary);
  ASSERT_TRUE(file.is_open()) << "cannot open " << path
                              << " (Debian's unicode-data: scripts/setup-linux.sh installs it)";
  int line_number = 0;
  int checked = 0;
  std::string line;
  while (std::getline(file, line)) {
    ++line_number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::istringstream fields(line.substr(0, line.find('#')));
    std::u16string text;
    std::vector<std::size_t> expected_ends;  // the break marks after the start of the text
    bool malformed = false;
    std::string field;
    while (fields >> field) {
      if (field == kBreakMark) {
        if (!text.empty()) expected_ends.push_back(text.size());
      } else if (field != kNoBreakMark) {
        std::size_t parsed = 0;
        const unsigned long cp = std::stoul(field, &parsed, 16);
        malformed = malformed || parsed != field.size() || cp > 0x10FFFF;
        AppendUtf16(static_cast<char32_t>(cp), text);
      }
    }
    if (text.empty() && !malformed) continue;  // a comment or a blank line
    ++checked;
    ASSERT_FALSE(malformed) << "line " << line_number << ": " << line;
    EXPECT_EQ(ClusterEnds(text), expected_ends) << "line " << line_number << ": " << line;
  }
  EXPECT_GT(checked, 0) << path << " holds no test lines";
  std::cout << "[   INFO   ] " << checked << " lines of " << path << " checked\n";
}

TEST(Grapheme, ReversalKeepsEachClusterWhole) {
  const std::u16string clusters[] = {
      u"\U0001F44D\U0001F3FD",                          // 👍🏽 thumbs up, skin tone modifier
      u"\U0001F468\u200D\U0001F469\u200D\U0001F467",  // 👨‍👩‍👧 joined by ZWJ
      u"\U0001F1EF\U0001F1F5",                          // 🇯🇵 two regional indicators
      u"\u304B\u309A",                                  // か゚ with the combining semi-voiced mark
      u"e\u0301",                                       // é with the combining acute accent
      u"\u263A\uFE0F",                                  // ☺️ with the emoji variation selector
  };
  for (const std::u16string& cluster : clusters) {
    EXPECT_EQ(ReverseGraphemes(u"x" + cluster + u"あ1"), u"1あ" + cluster + u"x")
        << ::testing::PrintToString(cluster);
  }
}

TEST(Grapheme, ReversalKeepsEveryUnpairedSurrogate) {
  struct Case {
    std::u16string text, reversed;
  };
  const Case cases[] = {
      // lone high, a pair (👍), lone low: only the pair is one character
      {u"\xD800" u"\xD83D\xDC4D" u"\xDC00", u"\xDC00" u"\xD83D\xDC4D" u"\xD800"},
      {u"a" u"\xDC00" u"b" u"\xD800", u"\xD800" u"b" u"\xDC00" u"a"},
      // a mark joins a lone surrogate as it joins any character without a break property
      {u"a" u"\xD800" u"\u0301" u"b", u"b" u"\xD800" u"\u0301" u"a"},
      {u"\r\n" u"\xDBFF", u"\xDBFF" u"\r\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ReverseGraphemes(c.text), c.reversed) << ::testing::PrintToString(c.text);
  }
}

}  // namespace
}  // namespace kakehashi
