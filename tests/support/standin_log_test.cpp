// The reader of the practice chat program's message log.
#include "support/standin_log.h"

#include <gtest/gtest.h>

namespace kakehashi::testing {
namespace {

TEST(StandinLog, ParsesRecordsAndSkipsCommentsBlanksAndTheUnfinishedLine) {
  const std::string text =
      "# practice_chat log\n"
      "1523.406 chat-edit 0286 ffff82a0 00000000\n"
      "\n"
      "1523.5 chat-edit 286 41 0\r\n"
      "  1600 chat-host 0111 000003E9 00000000\n"
      "1601.000 messenger 0286 0000";
  int bad = -1;
  const std::vector<StandinRecord> records = ParseStandinLog(text, &bad);
  EXPECT_EQ(bad, 0);
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0], (StandinRecord{1523.406, "chat-edit", 0x286, 0xFFFF82A0, 0, {}}));
  EXPECT_EQ(records[1], (StandinRecord{1523.5, "chat-edit", 0x286, 0x41, 0, {}}));
  EXPECT_EQ(records[2], (StandinRecord{1600, "chat-host", 0x111, 0x3E9, 0, {}}));
  EXPECT_EQ(RecordsOf(records, kRoleChatEdit).size(), 2u);
  EXPECT_EQ(RecordsOf(records, kRoleChatHost, 0x111).size(), 1u);
  EXPECT_TRUE(RecordsOf(records, kRoleChatHost, 0x286).empty());
}

TEST(StandinLog, CountsLinesThatDoNotFitTheFormat) {
  const char* bad_lines[] = {
      "x12 chat-edit 0286 41 0\n",        "12 chat-edit 0286 41\n",  "12 chat-edit 0286 41 0 extra\n",
      "12 chat-edit 0286 123456789 0\n",  "12 chat-edit 02g6 41 0\n", "12. chat-edit 0286 41 0\n",
      "-5 chat-edit 0286 41 0\n",
  };
  for (const char* line : bad_lines) {
    int bad = 0;
    EXPECT_TRUE(ParseStandinLog(line, &bad).empty()) << line;
    EXPECT_EQ(bad, 1) << line;
  }
}

TEST(StandinLog, SentLinesDecodeUtf8AndEscapes) {
  struct Case {
    std::string quoted;
    std::u16string text;
  };
  const Case cases[] = {
      {R"("")", u""},
      {"\"あ👍🏽A\"", u"あ👍🏽A"},
      {R"("a \"b\" \\ c")", u"a \"b\" \\ c"},
      {R"("\r\n\t\u0007\u007f")", u"\r\n\t\a\x7F"},
      {R"("\uD83D!\udc4d")", u"\xD83D!\xDC4D"},  // lone surrogates, either case of hex
      {"\"  spaces  \"", u"  spaces  "},
      {"\"\xF4\x8F\xBF\xBF\xEF\xBF\xBF\"", u"\U0010FFFF\xFFFF"},
  };
  for (const Case& c : cases) {
    int bad = -1;
    const std::vector<StandinRecord> records = ParseStandinLog("12.5 today " + c.quoted + "\n", &bad);
    EXPECT_EQ(bad, 0) << c.quoted;
    ASSERT_EQ(records.size(), 1u) << c.quoted;
    EXPECT_EQ(records[0].line, c.text) << c.quoted;
    EXPECT_EQ(records[0].role, kRoleToday);
    EXPECT_EQ(records[0].message, 0u);
  }
  const std::vector<StandinRecord> mixed =
      ParseStandinLog("1 today \"x\"\n2 chat-edit 0286 41 0\n3 today \"y\"\n4 messenger \"z\"\n");
  ASSERT_EQ(mixed.size(), 4u);
  EXPECT_FALSE(mixed[1].line.has_value());
  EXPECT_EQ(SentLines(mixed, kRoleToday), (std::vector<std::u16string>{u"x", u"y"}));
}

TEST(StandinLog, CountsSentLinesThatDoNotDecode) {
  const char* bad_lines[] = {
      "12 today \"open\n",          "12 today \"a\" b\n",          "12 today \"a\"b\"\n",
      "12 today \"a\\\"\n",         "12 today \"\\q\"\n",          "12 today \"\\u12\"\n",
      "12 today \"\\u12G4\"\n",      "12 today \"\x80\"\n",         "12 today \"\xC0\xAF\"\n",
      "12 today \"\xED\xA0\xBD\"\n", "12 today \"\xF4\x90\x80\x80\"\n", "12 today \"\xE3\x81\"\n",
      "12 today \"a\tb\"\n",         "12 today \"\x7F\"\n",         "x12 today \"a\"\n",
  };
  for (const char* line : bad_lines) {
    int bad = 0;
    EXPECT_TRUE(ParseStandinLog(line, &bad).empty()) << line;
    EXPECT_EQ(bad, 1) << line;
  }
}

TEST(StandinLog, MissingFileReadsAsNoRecords) {
  EXPECT_TRUE(ReadStandinLog("/nonexistent/dir/practice_chat.log").empty());
}

}  // namespace
}  // namespace kakehashi::testing
