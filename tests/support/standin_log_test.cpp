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
  EXPECT_EQ(records[0], (StandinRecord{1523.406, "chat-edit", 0x286, 0xFFFF82A0, 0}));
  EXPECT_EQ(records[1], (StandinRecord{1523.5, "chat-edit", 0x286, 0x41, 0}));
  EXPECT_EQ(records[2], (StandinRecord{1600, "chat-host", 0x111, 0x3E9, 0}));
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

TEST(StandinLog, MissingFileReadsAsNoRecords) {
  EXPECT_TRUE(ReadStandinLog("/nonexistent/dir/practice_chat.log").empty());
}

}  // namespace
}  // namespace kakehashi::testing
