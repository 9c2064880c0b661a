// Text shaping: what each line turns into, code for code.
#include "text/text_shaping.h"

#include "platform/code_page.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace kakehashi {
namespace {

constexpr std::int32_t Dbcs(std::uint32_t code) { return static_cast<std::int32_t>(code); }

TEST(TextShaping, LineAsReadAddsOneSpacePerDoubleByteCharacter) {
  struct Case {
    std::u16string line, expected;
  };
  const Case cases[] = {
      {u"", u""},
      {u"ab", u"ab"},
      {u"あいう", u"あいう   "},
      {u"(^。^)", u"(^。^) "},
      {u"ｱｲｳ", u"ｱｲｳ"},  // half-width katakana is single-byte
      {u"a\u3000", u"a\u3000 "},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LineAsRead(c.line), c.expected) << "line: " << ::testing::PrintToString(c.line);
    EXPECT_EQ(LineAsReadFromBytes(ToAnsi(c.line)), c.expected);
  }
}

TEST(TextShaping, CutTrailingBlanksKeepsTheFirstBlankOfTheFinalRun) {
  struct Case {
    std::u16string text, expected;
  };
  const Case cases[] = {
      {u"", u""},
      {u"abc", u"abc"},
      {u"a b", u"a b"},
      {u"abc  ", u"abc "},
      {u"  ", u" "},
      {u"ab\u3000", u"ab\u3000"},
      {u"a\u3000 \u3000", u"a\u3000"},
      {u"a  b ", u"a  b "},
      {u"ab\t", u"ab\t"},  // a tab is not a blank
      // Lines as read: the added spaces are cut back as well.
      {u"あいう   ", u"あいう "},
      {u"あいう\u3000    ", u"あいう\u3000"},
      {u"あいう       ", u"あいう "},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CutTrailingBlanks(c.text), c.expected) << ::testing::PrintToString(c.text);
  }
}

TEST(TextShaping, ReverseTextReversesCharactersAndKeepsSurrogatePairsWhole) {
  EXPECT_EQ(ReverseText(u"abc"), u"cba");
  EXPECT_EQ(ReverseText(u"あいう "), u" ういあ");
  EXPECT_EQ(ReverseText(u""), u"");
  EXPECT_EQ(ReverseText(u"a\U0001F600b"), u"b\U0001F600a");
}

TEST(TextShaping, CharCodeIsTheByteOrTheSignExtendedDoubleByteCode) {
  struct Case {
    char16_t ch;
    std::int32_t code;
  };
  const Case cases[] = {
      {u'a', 0x61},
      {u' ', 0x20},
      {u'ｱ', 0xB1},
      {u'ﾟ', 0xDF},
      {u'あ', Dbcs(0xFFFF82A0)},
      {u'。', Dbcs(0xFFFF8142)},
      {u'\u3000', Dbcs(0xFFFF8140)},
      {u'漢', Dbcs(0xFFFF8ABF)},
      {u'д', Dbcs(0xFFFF8474)},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CharCode(c.ch), c.code) << "U+" << std::hex << static_cast<int>(c.ch);
  }
}

TEST(TextShaping, UnicodeTargetsTakeAnythingButLoneSurrogatesAndControls) {
  struct Case {
    std::u16string text;
    bool holds;
  };
  const Case cases[] = {
      {u"", true},           {u"a\tb", true},        {u"\u00A0\uFFFF", true},   {u"\xD83D\xDE00", true},
      {u"\x1F", false},      {u"\r", false},         {u"\n", false},            {u"\x7F", false},
      {u"\x80", false},      {u"a\x9F", false},      {u"\xD83D", false},        {u"\xDE00", false},
      {u"\xDE00\xD83D", false}, {u"\xD83D" u"a", false},
  };
  for (const Case& c : cases) EXPECT_EQ(UnicodeCanHold(c.text), c.holds) << ::testing::PrintToString(c.text);
}

TEST(TextShaping, LineLimitRefusesMoreThanFourLinesToAChatOnly) {
  struct Case {
    bool messenger;
    std::int32_t lines;
    int limit;
    bool refused;
  };
  const Case cases[] = {
      {false, 4, kUnchecked, false}, {false, 5, kUnchecked, true}, {true, 100, kUnchecked, false},
      {false, 5, kChecked, false},   {false, 1, kUnchecked, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LineLimitExceeded(c.messenger, c.lines, c.limit), c.refused)
        << c.messenger << " " << c.lines << " " << c.limit;
  }
}

TEST(TextShaping, PlusWordWantedNeedsBothBoxesTickedAndAWord) {
  EXPECT_TRUE(PlusWordWanted(kChecked, kChecked, u"x"));
  EXPECT_TRUE(PlusWordWanted(kChecked, kChecked, u" "));
  EXPECT_FALSE(PlusWordWanted(kChecked, kChecked, u""));
  EXPECT_FALSE(PlusWordWanted(kUnchecked, kChecked, u"x"));
  EXPECT_FALSE(PlusWordWanted(kChecked, kUnchecked, u"x"));
  EXPECT_FALSE(PlusWordWanted(2, kChecked, u"x"));  // only exactly 1 counts as ticked
}

TEST(TextShaping, LineCodesByMode) {
  struct Case {
    SendMode mode;
    std::u16string text;  // as the engine hands it in
    bool header, footer;
    std::u16string posted;  // what the chat receives
  };
  const std::u16string pw = u"(^。^)";
  const Case cases[] = {
      {SendMode::kLines, u"a  b", false, false, u"a  b"},
      {SendMode::kLines, u"abc  ", false, false, u"abc "},
      {SendMode::kLines, LineAsRead(u"あいう"), false, false, u"あいう "},
      {SendMode::kLines, LineAsRead(u"あいう\u3000"), false, false, u"あいう\u3000"},
      {SendMode::kLinesReversed, LineAsRead(u"あいう"), false, false, u" ういあ"},
      {SendMode::kLinesReversed, u"ab", false, false, u"ba"},
      {SendMode::kSingleReversed, u"ab  ", false, false, u"  ba"},
      {SendMode::kSingleReversed, u"あい", false, false, u"いあ"},
      // Header and footer are never cut or reversed.
      {SendMode::kLinesReversed, u"ab", true, true, pw + u"ba" + pw},
      {SendMode::kSingleReversed, u"ab", true, false, pw + u"ba"},
      {SendMode::kLines, u"", true, true, pw + pw},
      {SendMode::kLines, u"x", false, true, u"x" + pw},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LineCodes(c.mode, c.text, c.header, c.footer, pw), CharCodes(c.posted))
        << static_cast<int>(c.mode) << " " << ::testing::PrintToString(c.text);
  }
}

TEST(TextShaping, LineCodesWorkedExample) {
  const std::vector<std::int32_t> expected = {
      0x28, 0x5E, Dbcs(0xFFFF8142), 0x5E, 0x29, 0x20, Dbcs(0xFFFF82A4), Dbcs(0xFFFF82A2), Dbcs(0xFFFF82A0)};
  EXPECT_EQ(LineCodes(SendMode::kLinesReversed, LineAsRead(u"あいう"), true, false, u"(^。^)"), expected);
}

// Every double-byte code that the platform maps decodes to a character whose CharCode is
// that code, sign-extended: the upper 16 bits are always set.
TEST(TextShaping, EveryDoubleByteCodeRoundTripsSignExtended) {
  int mapped = 0;
  for (int lead = 0x81; lead <= 0xFC; ++lead) {
    if (lead > 0x9F && lead < 0xE0) continue;
    for (int trail = 0x40; trail <= 0xFC; ++trail) {
      if (trail == 0x7F) continue;
      const std::string bytes{static_cast<char>(lead), static_cast<char>(trail)};
      const std::u16string decoded = FromAnsi(bytes);
      if (decoded.size() != 1 || ToAnsi(decoded) != bytes) continue;  // unmapped, or not canonical
      ++mapped;
      const std::int32_t code = CharCode(decoded[0]);
      ASSERT_EQ(static_cast<std::uint32_t>(code), 0xFFFF0000u | static_cast<std::uint32_t>(lead << 8 | trail))
          << std::hex << lead << " " << trail;
    }
  }
  EXPECT_GT(mapped, 7000);  // JIS X 0208 alone has 6879 characters, plus the vendor extensions
}

}  // namespace
}  // namespace kakehashi
