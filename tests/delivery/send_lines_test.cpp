// The delivery engine on the simulated desktop: what it posts, code for code and in order.
#include "delivery/send_lines.h"

#include <functional>
#include <map>

#include <gtest/gtest.h>

#include "delivery/send_test_support.h"
#include "targets/posting.h"

namespace kakehashi::testing {
namespace {

using sim::SimMainWindow;

constexpr std::int32_t Dbcs(std::uint32_t code) { return static_cast<std::int32_t>(code); }

TEST(SendLines, DoubleByteCharactersGoOutAsSignExtendedCodes) {
  for (const bool wine_terminator : {false, true}) {
    SendDesk d;
    d.desktop.SetGetLineWritesTerminator(wine_terminator);
    d.SetMessage(u"あいう");
    ASSERT_TRUE(SendLines(d.desktop, d.window, d.chat, SendMode::kLines, false, d.stop));
    const auto expected = Expect(d.chat)
                              .Code(Dbcs(0xFFFF82A0)).Code(Dbcs(0xFFFF82A2)).Code(Dbcs(0xFFFF82A4)).Code(0x20)
                              .Sleep(500).Press(kChatButtonId).steps();
    EXPECT_EQ(Recorded(d.desktop), expected) << "terminator " << wine_terminator;
  }
}

struct ModeCase {
  const char* name;
  SendMode mode;
  std::u16string text;
  bool header, footer;
  int send_now;
  std::vector<std::u16string> shaped;  // per line, written out by hand
};

TEST(SendLines, EachModeShapesEveryLineAndFramesItWithHeaderAndFooter) {
  const std::u16string w = u"(^。^)";
  const ModeCase cases[] = {
      {"mode1", SendMode::kLines, u"ab  \r\nあいう\r\n\r\nｱ b\r\nx\u3000", false, false, 0,
       {u"ab ", u"あいう ", u"", u"ｱ b", u"x\u3000"}},
      {"mode1 header", SendMode::kLines, u"a\r\n", true, false, 1, {u"a", u""}},
      {"mode2 both", SendMode::kLinesReversed, u"あいう\r\nab\u3000\u3000", true, true, 0, {u" ういあ", u"\u3000ba"}},
      {"mode2 footer", SendMode::kLinesReversed, u"", false, true, 0, {u""}},
      {"mode3", SendMode::kSingleReversed, u"ab  ", false, false, 0, {u"  ba"}},
      {"mode3 both", SendMode::kSingleReversed, u"あい", true, true, 0, {u"いあ"}},
  };
  for (const bool wine_terminator : {false, true}) {
    for (const ModeCase& c : cases) {
      SendDesk d;
      d.desktop.SetGetLineWritesTerminator(wine_terminator);
      d.window.SetCheck(CheckBox::Limit, 1);
      d.window.SetCheck(CheckBox::SendNow, c.send_now);
      d.SetHeaderFooter(c.header, c.footer, w);
      d.SetMessage(c.text);
      ASSERT_TRUE(SendLines(d.desktop, d.window, d.chat, c.mode, false, d.stop)) << c.name;
      Expect e(d.chat);
      for (const std::u16string& line : c.shaped) {
        e.Text(c.header ? w : u"").Text(line).Text(c.footer ? w : u"");
        if (c.mode != SendMode::kSingleReversed) e.Sleep(500).Press(kChatButtonId);
      }
      EXPECT_EQ(Recorded(d.desktop), e.steps()) << c.name;
      EXPECT_EQ(d.window.MessageText(), c.text) << "the engine never changes the box";
    }
  }
}

TEST(SendLines, SingleLineModePressesOnlyWithSendNowAndNeverWaits) {
  for (const int send_now : {0, 1}) {
    SendDesk d;
    d.SetMessage(u"ab");
    d.window.SetCheck(CheckBox::SendNow, send_now);
    ASSERT_TRUE(SendLines(d.desktop, d.window, d.chat, SendMode::kSingleReversed, false, d.stop));
    Expect e(d.chat);
    e.Text(u"ba");
    if (send_now == 1) e.Press(kChatButtonId);
    EXPECT_EQ(Recorded(d.desktop), e.steps());
  }
}

struct LimitCase {
  int lines;
  bool final_break;
  bool messenger;
  int limit;
  SendMode mode;
  const char16_t* refusal;  // nullptr: goes through
};

TEST(SendLines, LineLimitAndSingleLineRefusalsPostNothing) {
  const LimitCase cases[] = {
      {4, false, false, 0, SendMode::kLines, nullptr},
      {5, false, false, 0, SendMode::kLines, u"4行以上は無視になります"},
      {4, true, false, 0, SendMode::kLinesReversed, u"4行以上は無視になります"},
      {5, false, false, 1, SendMode::kLines, nullptr},
      {100, false, true, 0, SendMode::kLines, nullptr},
      {2, false, false, 0, SendMode::kSingleReversed, u"単一行じゃないのれす"},
      {1, true, true, 1, SendMode::kSingleReversed, u"単一行じゃないのれす"},
      {5, false, false, 0, SendMode::kSingleReversed, u"4行以上は無視になります"},
      {5, false, false, 1, SendMode::kSingleReversed, u"単一行じゃないのれす"},
  };
  for (const LimitCase& c : cases) {
    SendDesk d;
    d.window.SetCheck(CheckBox::Limit, c.limit);
    std::u16string text;
    for (int i = 0; i < c.lines; ++i) text += (i ? u"\r\nx" : u"x");
    if (c.final_break) text += u"\r\n";
    d.SetMessage(text);
    const TargetWindows& t = c.messenger ? d.messenger : d.chat;
    const bool sent = !!SendLines(d.desktop, d.window, t, c.mode, c.messenger, d.stop);
    const auto presses = d.desktop.Posts().size() - static_cast<std::size_t>(c.lines);
    SCOPED_TRACE(::testing::Message() << c.lines << " lines, limit " << c.limit << " mode " << int(c.mode));
    if (c.refusal) {
      EXPECT_FALSE(sent);
      EXPECT_EQ(d.window.status(), c.refusal);
      EXPECT_TRUE(d.desktop.Posts().empty());
    } else {
      EXPECT_TRUE(sent);
      EXPECT_EQ(presses, static_cast<std::size_t>(c.lines + (c.final_break ? 1 : 0)));
    }
  }
}

TEST(SendLines, TextEndingInALineBreakSendsTheEmptyLastLineWithItsFrame) {
  SendDesk d;
  d.SetHeaderFooter(true, true, u"*");
  d.window.SetWait(u"");
  d.SetMessage(u"a\r\nb\r\nc\r\n");
  ASSERT_TRUE(SendLines(d.desktop, d.window, d.chat, SendMode::kLines, false, d.stop));
  EXPECT_EQ(Recorded(d.desktop), Expect(d.chat)
                                     .Line(u"*", u"a", u"*", 0, kChatButtonId)
                                     .Line(u"*", u"b", u"*", 0, kChatButtonId)
                                     .Line(u"*", u"c", u"*", 0, kChatButtonId)
                                     .Line(u"*", u"", u"*", 0, kChatButtonId)
                                     .steps());
}

TEST(SendLines, WaitTextGivesTheDelayBeforeEachPress) {
  const std::map<std::u16string, std::uint32_t> delays = {
      {u"500", 500}, {u"", 0}, {u"1.5", 2}, {u"2.5", 2}, {u"-3", 0}, {u"1e12", 2147483647}, {u"1,000", 1}};
  for (const auto& [wait, ms] : delays) {
    SendDesk d;
    d.window.SetWait(wait);
    d.SetMessage(u"a\r\nb");
    ASSERT_TRUE(SendLines(d.desktop, d.window, d.chat, SendMode::kLinesReversed, false, d.stop));
    EXPECT_EQ(Recorded(d.desktop),
              Expect(d.chat).Line(u"", u"a", u"", ms, kChatButtonId).Line(u"", u"b", u"", ms, kChatButtonId).steps());
  }
}

TEST(SendLines, MissingSendButtonStillPressesWithIdZero) {
  SendDesk d;
  d.SetMessage(u"x");
  ASSERT_TRUE(SendLines(d.desktop, d.window, d.messenger, SendMode::kLines, true, d.stop));
  EXPECT_EQ(Recorded(d.desktop), Expect(d.messenger).Line(u"", u"x", u"", 500, 0).steps());
}

// A main window whose values change as they are read, to prove each decision reads anew.
class ChangingWindow final : public ForwardingView {
 public:
  explicit ChangingWindow(SimMainWindow& base) : ForwardingView(base) {}
  std::function<std::u16string(int)> plus_word;  // by number of the read
  std::function<std::u16string(int)> wait;

  std::u16string PlusWordText() const override { return plus_word ? plus_word(plus_reads_++) : ForwardingView::PlusWordText(); }
  std::u16string WaitText() const override { return wait ? wait(wait_reads_++) : ForwardingView::WaitText(); }

 private:
  mutable int plus_reads_ = 0;
  mutable int wait_reads_ = 0;
};

TEST(SendLines, ValuesAreReadAgainAtEveryDecision) {
  SendDesk d;
  d.SetHeaderFooter(true, false);
  d.SetMessage(u"a\r\nb\r\nc");
  ChangingWindow view(d.window);
  // The first header decision finds PlusWord empty; later reads find "Z".
  view.plus_word = [](int n) { return n == 0 ? std::u16string() : std::u16string(u"Z"); };
  view.wait = [](int n) { return std::u16string(n == 0 ? u"10" : n == 1 ? u"20" : u"30"); };
  ASSERT_TRUE(SendLines(d.desktop, view, d.chat, SendMode::kLines, false, d.stop));
  EXPECT_EQ(Recorded(d.desktop), Expect(d.chat)
                                     .Line(u"", u"a", u"", 10, kChatButtonId)
                                     .Line(u"Z", u"b", u"", 20, kChatButtonId)
                                     .Line(u"Z", u"c", u"", 30, kChatButtonId)
                                     .steps());
}

TEST(SendLines, PlusWordTurningUnsendableMidwayStopsTheSend) {
  SendDesk d;
  d.SetHeaderFooter(true, false);
  d.SetMessage(u"a\r\nb");
  ChangingWindow view(d.window);
  view.plus_word = [](int n) { return std::u16string(n < 4 ? u"Z" : u"\U0001F600"); };
  EXPECT_FALSE(SendLines(d.desktop, view, d.chat, SendMode::kLines, false, d.stop));
  EXPECT_EQ(d.window.status(), u"送れない文字があります（1/2行済み）");
  EXPECT_EQ(Recorded(d.desktop), Expect(d.chat).Line(u"Z", u"a", u"", 500, kChatButtonId).steps());
}

TEST(SendLines, LinesLongerThanTheClassicBufferAreReadWhole) {
  const std::u16string kana(700, u'あ');  // 1400 bytes
  const std::u16string lines[] = {
      std::u16string(998, 'a'),           std::u16string(999, 'a'), std::u16string(1000, 'a'),
      std::u16string(998, 'a') + u"あ",  // the double-byte character straddles the old buffer's end
      kana + u"  ",                       std::u16string(40000, 'b') + u"c", std::u16string(kLongestLineBytes, 'd')};
  for (const bool wine_terminator : {false, true}) {
    for (const std::u16string& line : lines) {
      SendDesk d;
      d.desktop.SetGetLineWritesTerminator(wine_terminator);
      d.SetMessage(line);
      ASSERT_TRUE(SendLines(d.desktop, d.window, d.chat, SendMode::kLines, false, d.stop));
      EXPECT_EQ(Recorded(d.desktop),
                Expect(d.chat).Line(u"", CutTrailingBlanks(LineAsRead(line)), u"", 500, kChatButtonId).steps())
          << line.size() << " characters";
    }
  }
  SendDesk d;
  d.SetMessage(kana);
  ASSERT_TRUE(SendLines(d.desktop, d.window, d.chat, SendMode::kLinesReversed, false, d.stop));
  EXPECT_EQ(Recorded(d.desktop), Expect(d.chat).Line(u"", u" " + kana, u"", 500, kChatButtonId).steps());
}

TEST(SendLines, ALineBeyondTheLargestBufferStopsInsteadOfBeingCut) {
  SendDesk d;
  d.SetMessage(u"a\r\n" + std::u16string(kLongestLineBytes + 1, 'x'));
  EXPECT_FALSE(SendLines(d.desktop, d.window, d.chat, SendMode::kLines, false, d.stop));
  EXPECT_EQ(d.window.status(), u"1行が長すぎます（1/2行済み）");
  EXPECT_EQ(Recorded(d.desktop), Expect(d.chat).Line(u"", u"a", u"", 500, kChatButtonId).steps());
}

struct FailedPostCase {
  const char* name;
  std::function<void(SendDesk&)> break_target;
  std::size_t accepted;  // posts that go out before the failing one
  std::u16string status;
};

TEST(SendLines, AFailedPostEndsTheSendAndSaysWhyAndHowFarItGot) {
  const FailedPostCase cases[] = {
      {"input gone", [](SendDesk& d) { d.desktop.Destroy(d.chat.TargetEdit); }, 0, u"送信先が見つかりません（0/3行済み）"},
      {"whole window gone", [](SendDesk& d) { d.desktop.Destroy(d.chat.TargetHost); }, 0, u"送信先が見つかりません（0/3行済み）"},
      {"owner gone", [](SendDesk& d) { d.desktop.Destroy(d.chat.TargetHost); d.chat.TargetEdit = d.messenger.TargetEdit; }, 2,
       u"送信先が見つかりません（0/3行済み）"},
      {"elevated chat", [](SendDesk& d) { d.desktop.DenyPosts(d.chat.TargetEdit, kErrorAccessDenied); }, 0,
       u"権限が違い送れません（0/3行済み）"},
      {"input takes nothing", [](SendDesk& d) { d.desktop.SetReceiver({d.chat.TargetEdit}, 3, 0); }, 4, u"送信先が応答しません（1/3行済み）"},
      {"owner takes nothing", [](SendDesk& d) { d.desktop.SetReceiver({d.chat.TargetHost}, 1, 0); }, 5, u"送信先が応答しません（1/3行済み）"},
  };
  for (const FailedPostCase& c : cases) {
    SendDesk d;
    c.break_target(d);
    d.window.SetWait(u"");
    d.SetMessage(u"ab\r\ncd\r\nef");
    EXPECT_FALSE(SendLines(d.desktop, d.window, d.chat, SendMode::kLines, false, d.stop)) << c.name;
    EXPECT_EQ(d.window.status(), c.status) << c.name;
    const auto& events = d.desktop.events();
    ASSERT_FALSE(events.empty()) << c.name;
    EXPECT_EQ(d.desktop.Posts().size(), c.accepted) << c.name;
    EXPECT_FALSE(events.back().ok) << c.name << ": nothing after the failed post";
    const bool full = events.back().error == kErrorNotEnoughQuota;
    // A full queue is tried again for ten seconds before the send gives up; nothing else is.
    EXPECT_EQ(d.desktop.now_ms(), full ? kNotRespondingAfterMs : 0u) << c.name;
  }
}

// An input box of many lines, answered from a table: the simulated edit control splits
// its whole text on every read, which is too slow for tens of thousands of lines.
class TableEdit final : public ForwardingOps {
 public:
  TableEdit(sim::SimDesktop& desktop, Handle edit, std::size_t lines)
      : ForwardingOps(desktop), edit_(edit), lines_(lines) {}
  std::intptr_t SendMessageA(Handle w, std::uint32_t m, std::uintptr_t wp, std::intptr_t lp) override {
    if (w != edit_) return ForwardingOps::SendMessageA(w, m, wp, lp);
    if (m == kEmGetLineCount) return static_cast<std::intptr_t>(lines_);
    *reinterpret_cast<char*>(lp) = static_cast<char>('a' + wp % 26);
    return 1;
  }

 private:
  Handle edit_;
  std::size_t lines_;
};

TEST(SendLines, CountsBeyondSixteenBitsWork) {
  constexpr std::size_t kLines = 40000;
  SendDesk d;
  d.window.SetWait(u"");
  TableEdit ops(d.desktop, d.window.MessageWindow(), kLines);
  ASSERT_TRUE(SendLines(ops, d.window, d.messenger, SendMode::kLines, true, d.stop));
  const auto posts = d.desktop.Posts();
  ASSERT_EQ(posts.size(), 2 * kLines);
  EXPECT_EQ(posts[2 * 32767].wparam, static_cast<std::uintptr_t>('a' + 32767 % 26));
  EXPECT_EQ(posts.back().message, kWmCommand);

  SendDesk m;
  const std::u16string word(33000, u'ｱ');
  m.SetHeaderFooter(true, false, word);
  m.SetMessage(std::u16string(40000, u'x') + u"y");
  ASSERT_TRUE(SendLines(m.desktop, m.window, m.chat, SendMode::kSingleReversed, false, m.stop));
  const auto single = m.desktop.Posts();
  ASSERT_EQ(single.size(), 33000u + 40001u);
  EXPECT_EQ(single[32999].wparam, 0xB1u);
  EXPECT_EQ(single[33000].wparam, static_cast<std::uintptr_t>('y'));
}

}  // namespace
}  // namespace kakehashi::testing
