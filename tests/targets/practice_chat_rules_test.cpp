// The practice chat program's portable rules: its command line, and log lines (messages
// and sent texts) that the tests' reader gives back unchanged.
#include <gtest/gtest.h>

#include "log_line.h"
#include "options.h"
#include "practice_chat_ids.h"
#include "support/standin_log.h"

namespace practice_chat {
namespace {

using kakehashi::testing::ParseStandinLog;
using kakehashi::testing::SentLines;
using kakehashi::testing::StandinRecord;

TEST(PracticeChatLog, LinesReadBackAsWritten) {
  const StandinRecord records[] = {
      {0, "chat-edit", 0x286, 0xFFFF82A0, 0, {}},
      {1523.406, "chat-host", 0x111, 1001, 0, {}},
      {98765432.125, "messenger", 0x102, 0x41, 0xFFFFFFFF, {}},
      {12.5, "messenger-button", 0x10000, 0, 0x12345678, {}},
  };
  std::string text = "# practice_chat ready pid 12\n";
  for (const StandinRecord& r : records) text += FormatLogLine(r.time_ms, r.role, r.message, r.wparam, r.lparam);
  int bad = -1;
  const std::vector<StandinRecord> read = ParseStandinLog(text, &bad);
  EXPECT_EQ(bad, 0);
  EXPECT_EQ(read, std::vector<StandinRecord>(std::begin(records), std::end(records)));
  EXPECT_EQ(FormatLogLine(1523.4064, "chat-edit", 0x286, 0xFFFF82A0, 0), "1523.406 chat-edit 0286 ffff82a0 00000000\n");
}

// Whatever a Unicode input box can hold comes back unit for unit, on one log line.
TEST(PracticeChatLog, SentLinesReadBackUnitForUnit) {
  const std::u16string texts[] = {
      u"あ👍🏽A",
      u"い😀B",
      u"",
      u" ",
      u"  AA の絵  ",
      u"\"quoted\" \\ back\\slash \\u0041 \\",
      u"tab\tCR\rLF\nCRLF\r\n",
      u"\a\b\x1B\x7F\x80\u00A0",
      u"\xD83D",          // a high surrogate alone
      u"\xDE00x",         // a low surrogate alone
      u"\xDE00\xD83D",    // a pair in the wrong order
      u"\xD83D\xD83D\xDE00",
      u"\U0010FFFF\uFFFF\uFEFF\u3000＼¥",
      u"# not a comment",
      std::u16string(1, u'\0') + u"after NUL",
  };
  std::string text;
  for (const std::u16string& t : texts) text += FormatSentLine(7.25, "today", t);
  int bad = -1;
  const std::vector<StandinRecord> read = ParseStandinLog(text, &bad);
  EXPECT_EQ(bad, 0);
  EXPECT_EQ(read.size(), std::size(texts));
  EXPECT_EQ(SentLines(read, "today"), std::vector<std::u16string>(std::begin(texts), std::end(texts)));
  for (const StandinRecord& r : read) EXPECT_EQ(r.time_ms, 7.25);
  EXPECT_EQ(FormatSentLine(1523.4064, "today", u"あ\"👍\t"), "1523.406 today \"あ\\\"👍\\t\"\n");
  EXPECT_EQ(FormatSentLine(0, "today", u"\xD83D\x01"), "0.000 today \"\\uD83D\\u0001\"\n");
}

TEST(PracticeChatOptions, ChooseWindowsAndStructure) {
  struct Case {
    std::vector<std::u16string> args;
    bool chat, messenger, today, dialog, input_frame, input_box, button;
  };
  const Case cases[] = {
      {{}, true, true, true, true, true, true, true},
      {{u"--chat"}, true, false, false, true, true, true, true},
      {{u"--messenger"}, false, true, false, true, true, true, true},
      {{u"--today"}, false, false, true, true, true, true, true},
      {{u"--messenger", u"--chat"}, true, true, false, true, true, true, true},
      {{u"--today", u"--messenger"}, false, true, true, true, true, true, true},
      {{u"--chat", u"--no-dialog"}, true, false, false, false, true, true, true},
      {{u"--no-atl", u"--no-button"}, true, true, true, true, false, true, false},
      {{u"--no-edit"}, true, true, true, true, true, false, true},
  };
  for (const Case& c : cases) {
    const std::optional<Options> o = ParseOptions(c.args, nullptr);
    ASSERT_TRUE(o.has_value());
    EXPECT_EQ((std::vector<bool>{o->chat, o->messenger, o->today, o->dialog, o->input_frame, o->input_box, o->button}),
              (std::vector<bool>{c.chat, c.messenger, c.today, c.dialog, c.input_frame, c.input_box, c.button}))
        << c.args.size() << ' ' << std::string(c.args[0].begin(), c.args[0].end());
  }
}

TEST(PracticeChatOptions, ValuesComeEitherWayAndBadArgumentsAreNamed) {
  const std::optional<Options> o =
      ParseOptions({u"--title-chat", u"部屋 - Microsoft Internet Explorer", u"--log=Z:\\tmp\\a b.log"}, nullptr);
  ASSERT_TRUE(o);
  EXPECT_EQ(o->chat_title, u"部屋 - Microsoft Internet Explorer");
  EXPECT_EQ(o->messenger_title, kDefaultMessengerTitle);
  EXPECT_EQ(o->log_path, u"Z:\\tmp\\a b.log");
  for (const std::u16string bad : {u"--bogus", u"--log"}) {
    std::u16string error;
    EXPECT_FALSE(ParseOptions({bad}, &error).has_value());
    EXPECT_EQ(error.rfind(bad, 0), 0u);
  }
}

TEST(PracticeChatOptions, WindowRectsTakeFourNumbersWithPositiveSize) {
  struct Case {
    std::u16string value;
    std::optional<WindowRect> rect;  // empty: refused
  };
  const Case cases[] = {
      {u"8,40,456,640", WindowRect{8, 40, 456, 640}},
      {u"-1920,-8,1024,768", WindowRect{-1920, -8, 1024, 768}},  // a monitor left of the main one
      {u"0,0,1,1", WindowRect{0, 0, 1, 1}},
      {u"8,40,456", std::nullopt},
      {u"8,40,456,640,1", std::nullopt},
      {u"8,40,0,640", std::nullopt},
      {u"8,40,456,-640", std::nullopt},
      {u"8, 40,456,640", std::nullopt},
      {u"8,,456,640", std::nullopt},
      {u"-,40,456,640", std::nullopt},
      {u"8,40,4567890,640", std::nullopt},  // more digits than any screen
      {u"", std::nullopt},
  };
  const std::u16string names[] = {u"--chat-rect", u"--messenger-rect", u"--today-rect"};
  const auto places = [](const Options& o) { return std::vector{o.chat_rect, o.messenger_rect, o.today_rect}; };
  for (const Case& c : cases) {
    for (std::size_t n = 0; n < std::size(names); ++n) {
      std::u16string error;
      const std::optional<Options> o = ParseOptions({names[n], c.value}, &error);
      ASSERT_EQ(o.has_value(), c.rect.has_value()) << std::string(c.value.begin(), c.value.end());
      if (!o) {
        EXPECT_EQ(error.rfind(names[n], 0), 0u);
        continue;
      }
      std::vector<std::optional<WindowRect>> want(std::size(names));
      want[n] = c.rect;
      EXPECT_EQ(places(*o), want) << std::string(c.value.begin(), c.value.end());
    }
  }
  const std::optional<Options> all =
      ParseOptions({u"--today-rect=9,10,11,12", u"--chat-rect=1,2,3,4", u"--messenger-rect=5,6,7,8"}, nullptr);
  ASSERT_TRUE(all);
  EXPECT_EQ(places(*all), (std::vector<std::optional<WindowRect>>{WindowRect{1, 2, 3, 4}, WindowRect{5, 6, 7, 8},
                                                                   WindowRect{9, 10, 11, 12}}));
  for (const std::u16string& name : names) EXPECT_FALSE(ParseOptions({name}, nullptr).has_value());
  EXPECT_FALSE(ParseOptions({u"--today-rects=1,2,3,4"}, nullptr).has_value());
}

}  // namespace
}  // namespace practice_chat
