// Code page conversion: the same cases hold for iconv (Linux) and the Win32 functions (Wine).
#include "platform/code_page.h"

#include <gtest/gtest.h>

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
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ToAnsiExact(c.text), c.bytes) << ::testing::PrintToString(c.text);
    EXPECT_EQ(ToAnsi(c.text), c.bytes);
    EXPECT_EQ(FromAnsi(c.bytes), c.text);
  }
}

TEST(CodePage, CharactersWithoutACodeAreRefusedExactlyAndReplacedOtherwise) {
  const std::u16string lone_surrogate(1, char16_t{0xD800});
  for (const std::u16string& text : {std::u16string(u"\U0001F600"), std::u16string(u"a\U0001F600b"),
                                     std::u16string(u"\u00E9t\u00E9"), lone_surrogate}) {
    EXPECT_FALSE(ToAnsiExact(text).has_value()) << ::testing::PrintToString(text);
    EXPECT_FALSE(AnsiCanHold(text));
    EXPECT_NE(ToAnsi(text).find('?'), std::string::npos);
  }
  EXPECT_TRUE(AnsiCanHold(u"Kakehashi 入力支援ツール　ver 1.5"));
}

}  // namespace
}  // namespace kakehashi
