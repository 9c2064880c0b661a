// Code page conversion: the same cases hold for iconv (Linux) and the Win32 functions (Wine).
#include "platform/code_page.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace kakehashi {
namespace {

TEST(CodePage, ShiftJisBytesBothWays) {
  struct Case {
    std::u16string text;
    std::string bytes;
  };
  const Case cases[] = {
      {u"", ""},
      {u"abc", "abc"},
      {u"あ", "\x82\xA0"},
      {u"\u3000", "\x81\x40"},
      {u"ｱﾟ", "\xB1\xDF"},
      {u"(ﾟдﾟ)<", "(\xDF\x84\x74\xDF)<"},
      {u"入力支援ツール", "\x93\xFC\x97\xCD\x8E\x78\x89\x87\x83\x63\x81\x5B\x83\x8B"},
      {u"～－∥―￠￡￢￤", "\x81\x60\x81\x7C\x81\x61\x81\x5C\x81\x91\x81\x92\x81\xCA\xFA\x55"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ToAnsiExact(c.text), c.bytes) << ::testing::PrintToString(c.text);
    EXPECT_EQ(ToAnsi(c.text), c.bytes);
    EXPECT_EQ(FromAnsi(c.bytes), c.text);
  }
}

TEST(CodePage, LookAlikesFromOtherSystemsAreSentAsTheCodePageCharacter) {
  const std::u16string pasted = u"10\u301C20時 \u2212\u2016\u2014\u00A2\u00A3\u00AC\u00A6";
  const std::u16string typed = u"10～20時 －∥―￠￡￢￤";
  ASSERT_EQ(pasted.size(), typed.size());
  EXPECT_EQ(ToAnsiExact(pasted), ToAnsiExact(typed));
  EXPECT_EQ(ToAnsi(pasted), ToAnsi(typed));
  for (std::size_t i = 0; i < pasted.size(); ++i) EXPECT_EQ(CodePageFormOf(pasted[i]), typed[i]) << i;
}

TEST(CodePage, CharactersWithoutACodeAreRefusedExactlyAndReplacedOtherwise) {
  const std::u16string lone_high(1, char16_t{0xD800});
  const std::u16string lone_low(1, char16_t{0xDFFF});
  const std::u16string reversed_pair = u"\xDE00\xD83D";
  struct Case {
    std::u16string text;
    std::string lossy;
  };
  const Case cases[] = {
      {u"\U0001F600", "?"},        // a surrogate pair is one character
      {u"a\U0001F600b", "a?b"},
      {u"\u00E9t\u00E9", "?t?"},   // no best fit: é is not e
      {lone_high, "?"},
      {lone_low, "?"},
      {reversed_pair, "??"},
      {u"\u00A5\u203E", "??"},     // glibc encodes these one way only, as 5C and 7E
      {u"\u0080", "?"},            // Win32 passes it through as the non-character byte 0x80
      {u"\uF8F0\uF8F3", "??"},     // Win32 maps them to the non-character bytes A0 and FF
  };
  for (const Case& c : cases) {
    EXPECT_FALSE(ToAnsiExact(c.text).has_value()) << ::testing::PrintToString(c.text);
    EXPECT_FALSE(AnsiCanHold(c.text));
    EXPECT_EQ(ToAnsi(c.text), c.lossy) << ::testing::PrintToString(c.text);
  }
  EXPECT_TRUE(AnsiCanHold(u"Kakehashi 入力支援ツール　ver 1.5"));
}

// Every UTF-16 code unit alone, lone surrogates included (refused), through the rule; the
// result must be the same on every build, whatever conversion the platform brings. Each
// 4096-unit block is digested alone so that a difference is easy to find.
TEST(CodePage, AnUndecodableByteReadsAsAMiddleDot) {
  // A double-byte character cut in two by a full buffer: its lead byte alone.
  EXPECT_EQ(FromAnsi("a\x82"), u"a\u30FB");
}

TEST(CodePage, EveryCodeUnitGivesTheSameBytesOnEveryBuild) {
  // FNV-1a over (code unit, byte count or 0 when refused, bytes) of the block's units.
  constexpr std::uint64_t kBlockDigests[16] = {
      0xF9507DF5CB352BA1, 0x378CD5511F096925, 0x0BD53C351F4E906C, 0x964F2ECB636AC5F3,
      0x53192A95376B9308, 0xB2DA629EAB7FD3DF, 0x16804C5819446697, 0xD8B6053DD00EDB38,
      0x358B20FD6C6B653B, 0x77958D37B017BC24, 0x642F3D9B2828C125, 0xB90F814D6EDB3B25,
      0xB1EEEAE8DAED4F25, 0xA126059CF9AEB325, 0xD620FDE9BA762A19, 0x4D04B527D0654CB3,
  };
  constexpr std::size_t kSendable = 9405;
  std::size_t sendable = 0;
  for (std::uint32_t block = 0; block < 16; ++block) {
    std::uint64_t digest = 0xCBF29CE484222325u;
    const auto add = [&digest](std::uint32_t byte) {
      digest = (digest ^ (byte & 0xFF)) * 0x100000001B3u;
    };
    for (std::uint32_t unit = block << 12; unit < (block + 1) << 12; ++unit) {
      const std::optional<std::string> bytes = ToAnsiExact(std::u16string(1, static_cast<char16_t>(unit)));
      add(unit >> 8);
      add(unit);
      add(bytes ? static_cast<std::uint32_t>(bytes->size()) : 0);
      if (!bytes) continue;
      ++sendable;
      for (const char b : *bytes) add(static_cast<unsigned char>(b));
      // What is sendable decodes back to itself, or to its code page form.
      EXPECT_EQ(FromAnsi(*bytes), std::u16string(1, CodePageFormOf(static_cast<char16_t>(unit))));
    }
    EXPECT_EQ(digest, kBlockDigests[block]) << "U+" << std::hex << (block << 12) << " to U+" << ((block << 12) + 0xFFF);
  }
  EXPECT_EQ(sendable, kSendable);
}

}  // namespace
}  // namespace kakehashi
