// Long sends on the simulated desktop: receivers whose queue fills up, a stop pressed during
// a send, progress in the status line, and the checks made before anything is posted.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

#include "delivery/send_command.h"
#include "delivery/send_lines.h"
#include "delivery/send_test_support.h"

namespace kakehashi::testing {
namespace {

// The Windows quota of posted messages per thread.
constexpr std::size_t kQuota = 10000;

std::u16string Decimal(std::size_t n) {
  const std::string digits = std::to_string(n);
  return std::u16string(digits.begin(), digits.end());
}

std::size_t Refused(const sim::SimDesktop& desktop) {
  return static_cast<std::size_t>(std::count_if(desktop.events().begin(), desktop.events().end(), [](const sim::Event& e) {
    return e.kind == sim::Event::Kind::kPost && !e.ok;
  }));
}

// The codes and presses that reached the chat, in order, without the sleeps.
std::vector<Step> Arrived(const sim::SimDesktop& desktop) {
  std::vector<Step> steps;
  for (const Step& s : Recorded(desktop)) {
    if (s.kind != Step::Kind::kSleep && s.ok) steps.push_back(s);
  }
  return steps;
}

std::vector<Step> WithoutSleeps(std::vector<Step> steps) {
  std::erase_if(steps, [](const Step& s) { return s.kind == Step::Kind::kSleep; });
  return steps;
}

TEST(LongSend, AFullQueueHoldsTheSendBackAndEveryCodeArrivesInOrder) {
  // A line of 40,000 characters in mode 3, and 200 lines of 200 with no delay, each
  // through a chat thread that takes one message per simulated millisecond.
  std::u16string long_line;
  for (int i = 0; long_line.size() < 40000; ++i) long_line += i % 7 == 0 ? u"あ" : i % 5 == 0 ? u"ｱ" : u"x";
  std::u16string picture;
  for (int i = 0; i < 200; ++i) {
    if (i) picture += u"\r\n";
    picture += std::u16string(199, static_cast<char16_t>(u'a' + i % 26)) + u"漢";
  }
  struct Case {
    const char* name;
    ModeOption option;
    std::u16string text;
    std::size_t lines;
  };
  const Case cases[] = {{"single line", ModeOption::DEFAULTOpt, long_line, 1},
                        {"picture", ModeOption::AAOpt, picture, 200}};
  for (const Case& c : cases) {
    SendDesk d;
    d.desktop.SetReceiver({d.messenger.TargetEdit, d.messenger.TargetHost}, kQuota, 1.0);
    d.window.Select(c.option);
    d.window.SetCheck(CheckBox::SendNow, 1);
    d.window.SetWait(u"0");
    d.SetMessage(c.text);
    SendCommand(d.desktop, d.window, d.messenger, d.stop);

    EXPECT_EQ(d.window.MessageText(), u"") << c.name << ": delivered";
    EXPECT_EQ(d.window.status(), u"ウィンドウが選択されていません") << c.name;
    EXPECT_GT(Refused(d.desktop), 0u) << c.name << ": the quota was reached";
    Expect e(d.messenger);
    if (c.lines == 1) {
      std::u16string reversed(c.text.rbegin(), c.text.rend());
      e.Text(reversed).Press(0);
    } else {
      for (std::size_t i = 0; i < c.lines; ++i) {
        // One padding space for the double-byte character at the end of each line.
        e.Text(c.text.substr(i * 202, 200) + u" ").Press(0);
      }
    }
    EXPECT_TRUE(Arrived(d.desktop) == WithoutSleeps(e.steps())) << c.name << ": code for code";
  }
}

// When the stop is pressed, and what has gone out by then.
struct StopCase {
  const char* name;
  std::function<void(SendDesk&)> arrange;
  std::size_t lines_sent;
  bool delivered;
};

// Win32: a 10 ms wait lasts a timer tick, about 16 ms by default: the time without
// progress is taken from the clock, not from the sum of the pauses asked for.
TEST(LongSend, AReceiverThatTakesNothingEndsTheSendAfterTenSecondsByTheClock) {
  class CoarseTimer final : public ForwardingOps {
   public:
    explicit CoarseTimer(sim::SimDesktop& desktop) : ForwardingOps(desktop), desktop_(desktop) {}
    bool Sleep(std::uint32_t ms, StopRequest& stop) override { return desktop_.Sleep(ms < 16 ? 16 : ms, stop); }

   private:
    sim::SimDesktop& desktop_;
  };
  SendDesk d;
  d.desktop.SetReceiver({d.messenger.TargetEdit}, 2, 0);
  d.window.Select(ModeOption::DEFAULTOpt);
  d.SetMessage(u"abc");
  CoarseTimer ops(d.desktop);
  SendCommand(ops, d.window, d.messenger, d.stop);
  EXPECT_EQ(d.window.status(), u"送信先が応答しません（0/1行済み）");
  EXPECT_GE(d.desktop.now_ms(), 10000u);
  EXPECT_LE(d.desktop.now_ms(), 11000u);
}

TEST(LongSend, AStopTakesEffectAtTheNextLineBoundary) {
  const auto stop_at_post = [](std::size_t n) {
    return [n](SendDesk& d) {
      d.desktop.OnPost([&d, n, count = std::size_t{0}](const sim::Event&) mutable {
        if (++count == n) d.stop.Request();
      });
    };
  };
  const StopCase cases[] = {
      // Line 3 has begun: it is finished, delay and press included, and the send ends.
      {"during the characters of line 3", stop_at_post(7), 3, false},
      // 300 ms into the delay of line 2 (each line: its characters at once, then 1000 ms).
      {"during the delay of line 2", [](SendDesk& d) { d.desktop.At(1300, [&d] { d.stop.Request(); }); }, 2, false},
      {"during the last delay", [](SendDesk& d) { d.desktop.At(4500, [&d] { d.stop.Request(); }); }, 5, true},
      // A stop pressed while the chat's queue is full waits for the end of the line too.
      {"during back-pressure",
       [](SendDesk& d) {
         d.desktop.SetReceiver({d.messenger.TargetEdit, d.messenger.TargetHost}, 1, 0.01);
         d.desktop.At(30, [&d] { d.stop.Request(); });
       },
       1, false},
  };
  for (const StopCase& c : cases) {
    SendDesk d;
    d.window.Select(ModeOption::AAOpt);
    d.window.SetWait(u"1000");
    const std::u16string text = u"ab\r\ncd\r\nef\r\ngh\r\nij";
    d.SetMessage(text);
    c.arrange(d);
    SendCommand(d.desktop, d.window, d.messenger, d.stop);

    Expect e(d.messenger);
    const char16_t* const lines[] = {u"ab", u"cd", u"ef", u"gh", u"ij"};
    for (std::size_t i = 0; i < c.lines_sent; ++i) e.Text(lines[i]).Press(0);
    EXPECT_TRUE(Arrived(d.desktop) == WithoutSleeps(e.steps())) << c.name << ": whole lines only";
    if (c.delivered) {
      EXPECT_EQ(d.window.MessageText(), u"") << c.name;
    } else {
      // Sending again goes on with the lines not yet said; one undo brings all back.
      EXPECT_EQ(d.window.MessageText(), LinesFrom(text, static_cast<std::int32_t>(c.lines_sent))) << c.name;
      EXPECT_EQ(d.window.undo_text(), text) << c.name;
      EXPECT_EQ(d.window.status(), Decimal(c.lines_sent) + u"/5行で中止（残り" + Decimal(5 - c.lines_sent) + u"行）")
          << c.name;
    }
  }
}

TEST(LongSend, AStopCutsTheDelayShortAndThePressFollowsAtOnce) {
  SendDesk d;
  d.window.SetWait(u"99999999999");
  d.SetMessage(u"a\r\nb");
  d.desktop.At(2500, [&d] { d.stop.Request(); });
  EXPECT_FALSE(SendLines(d.desktop, d.window, d.messenger, SendMode::kLines, true, d.stop));
  const std::vector<sim::Event> posts = d.desktop.Posts();
  ASSERT_EQ(posts.size(), 2u);
  EXPECT_EQ(posts.back().message, kWmCommand);
  EXPECT_EQ(posts.back().time_ms, 2500u);
  EXPECT_EQ(d.window.status(), u"1/2行で中止（残り1行）");
}

TEST(LongSend, TheStatusLineCountsThePressedLines) {
  SendDesk d;
  d.window.SetWait(u"10");
  d.SetMessage(u"a\r\nb\r\nc");
  std::vector<std::u16string> at_presses;
  d.desktop.OnPost([&](const sim::Event& e) {
    if (e.message == kWmCommand) at_presses.push_back(d.window.status());
  });
  ASSERT_TRUE(SendLines(d.desktop, d.window, d.messenger, SendMode::kLines, true, d.stop));
  EXPECT_EQ(at_presses, (std::vector<std::u16string>{u"送信中… 0/3行", u"送信中… 1/3行", u"送信中… 2/3行"}));
  EXPECT_EQ(d.window.status(), u"送信中… 3/3行") << "the send command puts the old text back";
}

TEST(LongSend, ALostWindowMidwayEndsTheSendWithHowFarItGot) {
  SendDesk d;
  d.window.Select(ModeOption::SAKASAOpt);
  d.SetMessage(u"ab\r\ncd\r\nef");
  d.window.SetWait(u"");
  d.desktop.OnPost([&d](const sim::Event& e) {
    if (e.message == kWmCommand && e.ok && d.desktop.Posts().size() == 6) d.desktop.Destroy(d.messenger.TargetHost);
  });
  SendCommand(d.desktop, d.window, d.messenger, d.stop);
  EXPECT_EQ(d.window.status(), u"送信先が見つかりません（2/3行済み）");
  EXPECT_EQ(d.window.status_detail(), u"送信先のウィンドウが見つかりません（2/3行送信済み、残りの1行はメッセージ欄にあります）");
  EXPECT_EQ(d.window.MessageText(), u"ef");
  EXPECT_EQ(d.window.undo_text(), u"ab\r\ncd\r\nef");
}

TEST(LongSend, APressWithoutAWindowToPressIsRefusedBeforeAnythingIsPosted) {
  struct Case {
    ModeOption option;
    int send_now;
    bool refused;
  };
  const Case cases[] = {{ModeOption::AAOpt, 1, true},
                        {ModeOption::SAKASAOpt, 1, true},
                        {ModeOption::DEFAULTOpt, 1, true},
                        {ModeOption::DEFAULTOpt, 0, false}};
  for (const Case& c : cases) {
    SendDesk d;
    // An ordinary page came to the front after the chat: no chat control window.
    TargetWindows t = d.chat;
    t.TargetHost = kNoWindow;
    d.window.Select(c.option);
    d.window.SetCheck(CheckBox::SendNow, c.send_now);
    d.SetMessage(u"ab");
    SendCommand(d.desktop, d.window, t, d.stop);
    SCOPED_TRACE(::testing::Message() << "option " << static_cast<int>(c.option) << ", SendNow " << c.send_now);
    if (c.refused) {
      EXPECT_EQ(d.window.status(), u"送信先のウィンドウが見つかりません");
      EXPECT_TRUE(d.desktop.Posts().empty());
      EXPECT_EQ(d.window.MessageText(), u"ab");
    } else {
      EXPECT_EQ(Arrived(d.desktop), Expect(t).Text(u"ba").steps());
      EXPECT_EQ(d.window.MessageText(), u"");
    }
  }
}

}  // namespace
}  // namespace kakehashi::testing
