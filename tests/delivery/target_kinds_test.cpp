// Sends to today's programs on the simulated desktop: keystrokes into the window in front,
// and posts to a picked window in the background.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "delivery/send_command.h"
#include "delivery/send_test_support.h"
#include "targets/foreground_poll.h"
#include "targets/keystroke_target.h"
#include "targets/picked_target.h"
#include "platform/code_page.h"

namespace kakehashi::testing {
namespace {

const std::u16string kThumbs = u"\U0001F44D\U0001F3FD";  // 👍🏽: two surrogate pairs, one character

// The tool's main window in front of a desktop with another program's window.
struct KeyDesk : SendDesk {
  Handle app = desktop.AddWindow(kNoWindow, "Notepad", "メモ帳");
  Handle other = desktop.AddWindow(kNoWindow, "Other", "他のウィンドウ");
  TargetSettings settings;

  KeyDesk() {
    settings.kind = TargetKind::kKeystrokes;
    window.SetWait(u"0");
    desktop.SetForeground(window.MainWindow());
  }
  SendOutcome Send(Handle front) { return SendCommand(desktop, window, chat, settings, front, stop); }
  std::vector<sim::Event> Of(sim::Event::Kind kind) const {
    std::vector<sim::Event> out;
    for (const sim::Event& e : desktop.events()) {
      if (e.kind == kind) out.push_back(e);
    }
    return out;
  }
};

TEST(KeystrokeSend, LinesAreTypedWholeIntoTheWindowInFrontAndSaidWithEnter) {
  struct Case {
    ModeOption option;
    int send_now;
    std::u16string text, typed;
  };
  const Case cases[] = {
      {ModeOption::AAOpt, 0, u"あ\r\n" + kThumbs + u"x  \r\nｱ", u"あ\r" + kThumbs + u"x \rｱ\r"},
      // Reversed by user-perceived character: 👍🏽 and e + U+0301 stay whole.
      {ModeOption::SAKASAOpt, 0, u"a" + kThumbs + u"e\u0301\r\n12", u"e\u0301" + kThumbs + u"a\r21\r"},
      {ModeOption::DEFAULTOpt, 0, u"ab" + kThumbs, kThumbs + u"ba"},
      {ModeOption::DEFAULTOpt, 1, u"ab", u"ba\r"},
  };
  for (const Case& c : cases) {
    KeyDesk d;
    d.window.Select(c.option);
    d.window.SetCheck(CheckBox::SendNow, c.send_now);
    d.SetMessage(c.text);
    EXPECT_TRUE(d.Send(d.app)) << ::testing::PrintToString(d.window.status_detail());
    EXPECT_EQ(d.desktop.TypedInto(d.app), c.typed);
    EXPECT_EQ(d.window.MessageText(), u"");
    // Each input call carries one character: a surrogate pair's units go together.
    for (const sim::Event& e : d.Of(sim::Event::Kind::kInput)) {
      EXPECT_TRUE(e.text.size() == 1 || (e.text.size() == 2 && e.text[0] >= 0xD800 && e.text[0] <= 0xDBFF));
    }
    EXPECT_EQ(d.desktop.GetForegroundWindow(), d.window.MainWindow());
  }
}

TEST(KeystrokeSend, NothingIsTypedWhenTheTargetCannotTakeIt) {
  struct Case {
    const char* name;
    std::function<void(KeyDesk&)> arrange;
    std::u16string status;
  };
  const Case cases[] = {
      {"no window in front yet", [](KeyDesk& d) { d.app = kNoWindow; }, u"ウィンドウが選択されていません"},
      {"window closed", [](KeyDesk& d) { d.desktop.Destroy(d.app); d.SetMessage(u"a\x1B"); }, u"送信先のウィンドウが見つかりません"},
      {"elevated", [](KeyDesk& d) { d.desktop.SetRunsAboveUs(d.app); }, u"送信先が管理者として実行されています"},
      {"Shift held", [](KeyDesk& d) { d.desktop.HoldModifiersUntil(6000); }, u"Shift・Ctrl・Altを離してください"},
      {"foreground locked", [](KeyDesk& d) { d.desktop.RefuseForeground(true); }, u"送信先を前面にできません"},
      {"lone surrogate", [](KeyDesk& d) { d.SetMessage(u"a\xD83D"); }, u"送信できない文字が含まれています"},
      {"control character", [](KeyDesk& d) { d.SetMessage(u"a\x1B"); }, u"送信できない文字が含まれています"},
  };
  for (const Case& c : cases) {
    KeyDesk d;
    d.window.Select(ModeOption::AAOpt);
    d.SetMessage(u"ab\r\ncd");
    c.arrange(d);
    const std::u16string text = d.window.MessageText();
    EXPECT_FALSE(d.Send(d.app)) << c.name;
    EXPECT_EQ(d.window.status(), c.status) << c.name;
    EXPECT_TRUE(d.Of(sim::Event::Kind::kInput).empty()) << c.name;
    EXPECT_EQ(d.window.MessageText(), text) << c.name;
  }
  // A modifier let go within five seconds is waited for.
  KeyDesk d;
  d.desktop.HoldModifiersUntil(4500);
  d.SetMessage(u"ab");
  EXPECT_TRUE(d.Send(d.app));
  EXPECT_EQ(d.desktop.TypedInto(d.app), u"ba");
}

TEST(KeystrokeSend, ASendEndsAtOnceWhenTheTargetIsNoLongerInFrontOrReady) {
  struct Case {
    const char* name;
    std::function<void(KeyDesk&)> arrange;
    std::u16string status, typed;
  };
  const auto at_15 = [](KeyDesk& d, std::function<void()> action) { d.desktop.At(15, std::move(action)); };
  const Case cases[] = {
      // Each character is followed by a 10 ms pause: 15 ms in, "ab" of line 1 are typed.
      {"another window", [&](KeyDesk& d) { at_15(d, [&d] { d.desktop.SetForeground(d.other); }); },
       u"前面が変わり中止（1行目の途中）", u"ab"},
      {"the tool's own window", [&](KeyDesk& d) { at_15(d, [&d] { d.desktop.SetForeground(d.window.MainWindow()); }); },
       u"前面が変わり中止（1行目の途中）", u"ab"},
      {"minimized", [&](KeyDesk& d) { at_15(d, [&d] { d.desktop.SetIconic(d.app, true); }); },
       u"前面が変わり中止（1行目の途中）", u"ab"},
      {"Esc", [&](KeyDesk& d) { at_15(d, [&d] { d.stop.Request(); }); }, u"1行目の途中で中止", u"ab"},
      {"Shift held too long", [&](KeyDesk& d) { at_15(d, [&d] { d.desktop.HoldModifiersUntil(6000); }); },
       u"キーが押されたまま中止（1行目の途中）", u"ab"},
      {"Esc while Shift is held", [&](KeyDesk& d) {
         at_15(d, [&d] { d.desktop.HoldModifiersUntil(6000); });
         d.desktop.At(900, [&d] { d.stop.Request(); });
       }, u"1行目の途中で中止", u"ab"},
      {"keys blocked", [](KeyDesk& d) { d.desktop.LimitInput(4); }, u"入力が拒否されました（1行目の途中）", u"ab"},
      // The character was handed over before the program stopped answering.
      {"not answering", [&](KeyDesk& d) { at_15(d, [&d] { d.desktop.SetHung(d.app, true); }); },
       u"送信先が応答しません（1行目の途中）", u"abc"},
  };
  for (const Case& c : cases) {
    KeyDesk d;
    d.settings.char_interval_ms = 10;
    d.window.Select(ModeOption::AAOpt);
    d.SetMessage(u"abcdef\r\ngh");
    c.arrange(d);
    EXPECT_FALSE(d.Send(d.app)) << c.name;
    EXPECT_EQ(d.window.status(), c.status) << c.name;
    EXPECT_EQ(d.desktop.TypedInto(d.app), c.typed) << c.name << ": not a character more";
    EXPECT_EQ(d.desktop.TypedInto(d.other), u"") << c.name;
    // A resend types just the rest of the line cut short; one undo brings the text back.
    EXPECT_EQ(d.window.MessageText(), std::u16string(u"abcdef\r\ngh").substr(c.typed.size())) << c.name;
    EXPECT_EQ(d.window.undo_text(), u"abcdef\r\ngh") << c.name;
    EXPECT_EQ(d.Of(sim::Event::Kind::kForeground).size(), 1u) << c.name << ": the foreground is left alone";
  }
}

TEST(KeystrokeSend, EveryKeyIsTakenBeforeTheNextAndEveryLineCountsOnceItsEnterIsTaken) {
  // A program that takes a key only when the tool asks how far it has come.
  std::u16string text;
  std::u16string said;
  for (int i = 1; i <= 20; ++i) {
    const std::u16string line = u"line" + Decimal(i) + u" あ\U0001F44D\U0001F3FD";
    text += (i > 1 ? u"\r\n" : u"") + line;
    said += line + u"\r";
  }
  // The send lasts about 200 ms.
  for (const std::uint64_t moved_at : {0u, 37u, 101u, 151u}) {
    KeyDesk d;
    d.desktop.SetBusyThread({d.app});
    d.settings.char_interval_ms = 1;
    d.window.Select(ModeOption::AAOpt);
    d.SetMessage(text);
    // The user clicks another window in the middle of the send.
    if (moved_at != 0) d.desktop.At(moved_at, [&d] { d.desktop.SetForeground(d.other); });
    const SendOutcome outcome = d.Send(d.app);
    const std::u16string typed = d.desktop.TypedInto(d.app);
    EXPECT_EQ(d.desktop.DroppedKeys(d.app), 0u) << moved_at << ": no key was still queued";
    EXPECT_EQ(d.desktop.Pending(d.app), 0u) << moved_at;
    if (moved_at == 0) {
      EXPECT_TRUE(outcome) << ::testing::PrintToString(d.window.status_detail());
      EXPECT_EQ(typed, said);
      EXPECT_EQ(d.desktop.GetForegroundWindow(), d.window.MainWindow()) << "the tool came back after the last key";
      continue;
    }
    // What arrived and what the box keeps make the text, each character once. When the
    // foreground moved after the program took an Enter but before the tool saw it had, the
    // line is not counted: the box holds it as an empty line, whose resend presses Enter
    // on an empty input box.
    std::u16string arrived;
    for (const char16_t c : typed) arrived += c == u'\r' ? std::u16string(u"\r\n") : std::u16string(1, c);
    std::u16string box = d.window.MessageText();
    const auto enters = static_cast<std::int32_t>(std::count(typed.begin(), typed.end(), u'\r'));
    if (outcome.sent + 1 == enters && box.rfind(u"\r\n", 0) == 0) {
      box.erase(0, 2);
    } else {
      EXPECT_EQ(outcome.sent, enters) << moved_at;
    }
    EXPECT_EQ(arrived + box, text) << moved_at;
  }
}

TEST(KeystrokeSend, ALineCutShortStandsInTheBoxAsWhatIsLeftToType) {
  struct Case {
    const char* name;
    ModeOption option;
    std::u16string text;
    bool header, footer;
    std::uint64_t stop_at;  // characters go out at 0, 10, 20, ... ms
    std::u16string typed, box, status;
  };
  const std::u16string a_e = u"ae\u0301b";  // b, é, a reversed: e and its accent are one character
  const Case cases[] = {
      {"as written", ModeOption::AAOpt, u"abcdef\r\ngh", false, false, 25, u"abc", u"def\r\ngh", u"1行目の途中で中止"},
      // Reversed: the box's line is the part whose reversal is still to come.
      {"reversed", ModeOption::SAKASAOpt, u"abcdef\r\ngh", false, false, 25, u"fed", u"abc\r\ngh", u"1行目の途中で中止"},
      {"one line reversed", ModeOption::DEFAULTOpt, u"abcdef", false, false, 25, u"fed", u"abc", u"1行目の途中で中止"},
      {"after a whole line", ModeOption::AAOpt, u"ab\r\ncdef\r\ng", false, false, 35, u"ab\rcd", u"ef\r\ng",
       u"2行目の途中で中止"},
      {"footer to come", ModeOption::AAOpt, u"abcdef\r\ngh", false, true, 25, u"abc", u"def\r\ngh", u"1行目の途中で中止"},
      // A header would be typed again: the line stays whole.
      {"header typed", ModeOption::AAOpt, u"abcdef\r\ngh", true, false, 25, u"[[a", u"abcdef\r\ngh", u"1行目の途中で中止"},
      {"inside the footer", ModeOption::AAOpt, u"ab\r\ngh", false, true, 25, u"ab[", u"ab\r\ngh", u"1行目の途中で中止"},
      // A reversed resend cannot type half a character, nor keep a blank the cut takes off.
      {"accent cut off", ModeOption::SAKASAOpt, a_e + u"\r\ng", false, false, 15, u"be", a_e + u"\r\ng", u"1行目の途中で中止"},
      {"blanks at the end", ModeOption::SAKASAOpt, u"a  b\r\ng", false, false, 5, u"b", u"a  b\r\ng", u"1行目の途中で中止"},
  };
  for (const Case& c : cases) {
    KeyDesk d;
    d.settings.char_interval_ms = 10;
    d.window.Select(c.option);
    d.window.SetCheck(CheckBox::SendNow, 1);
    d.SetHeaderFooter(c.header, c.footer, u"[[");
    d.SetMessage(c.text);
    d.desktop.At(c.stop_at, [&d] { d.stop.Request(); });
    EXPECT_FALSE(d.Send(d.app)) << c.name;
    EXPECT_EQ(d.desktop.TypedInto(d.app), c.typed) << c.name;
    EXPECT_EQ(d.window.MessageText(), c.box) << c.name;
    EXPECT_EQ(d.window.status(), c.status) << c.name;
    EXPECT_EQ(d.window.undo_text(), c.box == c.text ? u"" : c.text) << c.name << ": one undo brings the text back";
  }
}

TEST(KeystrokeSend, ALineTypedButNotSaidIsSaidByTheResend) {
  // The delay before the press runs from 20 to 520 ms; the user clicks another window in it.
  for (const bool later_lines : {true, false}) {
    KeyDesk d;
    d.settings.char_interval_ms = 10;
    d.window.SetWait(u"500");
    d.window.Select(ModeOption::AAOpt);
    d.SetMessage(later_lines ? u"ab\r\ncd" : u"ab");
    d.desktop.At(100, [&d] { d.desktop.SetForeground(d.other); });
    EXPECT_FALSE(d.Send(d.app));
    EXPECT_EQ(d.window.status(), u"前面が変わり中止（1行目の途中）");
    // An empty first line is sent as a press alone; without a line after it the box could
    // not hold one, so the line stands whole.
    EXPECT_EQ(d.window.MessageText(), later_lines ? u"\r\ncd" : u"ab");
  }
}

TEST(KeystrokeSend, TheWindowIsTakenAsTheUserLeftIt) {
  // Minimized: restored first, then typed into.
  KeyDesk d;
  d.desktop.SetIconic(d.app, true);
  d.SetMessage(u"ab");
  EXPECT_TRUE(d.Send(d.app)) << ::testing::PrintToString(d.window.status_detail());
  EXPECT_EQ(d.Of(sim::Event::Kind::kRestore).size(), 1u);
  EXPECT_EQ(d.desktop.TypedInto(d.app), u"ba");
  EXPECT_EQ(d.desktop.DroppedKeys(d.app), 0u);
  // A Shift held for a moment in the middle of a line holds the send back, and the status
  // line says why, until it is let go.
  KeyDesk e;
  e.settings.char_interval_ms = 10;
  e.window.Select(ModeOption::AAOpt);
  e.SetMessage(u"abcd\r\nef");
  e.desktop.At(15, [&e] { e.desktop.HoldModifiersUntil(800); });
  std::u16string while_held;
  e.desktop.At(400, [&] { while_held = e.window.status(); });
  EXPECT_TRUE(e.Send(e.app)) << ::testing::PrintToString(e.window.status_detail());
  EXPECT_EQ(while_held, u"Shift・Ctrl・Altを離してください");
  EXPECT_EQ(e.desktop.TypedInto(e.app), u"abcd\ref\r");
  std::uint64_t typed_while_held = 0;
  for (const sim::Event& ev : e.Of(sim::Event::Kind::kInput)) typed_while_held += ev.time_ms > 15 && ev.time_ms < 800;
  EXPECT_EQ(typed_while_held, 0u);
}

TEST(KeystrokeSend, FrontPollSkipsTheToolTheDesktopAndTheTaskbarAndHoldsAfterASend) {
  KeyDesk d;
  const Handle taskbar = d.desktop.AddWindow(kNoWindow, "Shell_TrayWnd");
  d.desktop.SetTitleW(d.app, u"チャット \U0001F600");
  FrontWindow front;
  const auto poll_with = [&](Handle in_front) {
    d.desktop.SetForeground(in_front);
    PollFrontWindow(d.desktop, d.window, front);
    return front.window;
  };
  EXPECT_EQ(poll_with(d.window.MainWindow()), kNoWindow);
  EXPECT_EQ(poll_with(d.app), d.app);
  EXPECT_EQ(d.window.status(), u"チャット \U0001F600") << "the caption in UTF-16";
  EXPECT_EQ(poll_with(taskbar), d.app);
  EXPECT_EQ(poll_with(d.desktop.GetDesktopWindow()), d.app);
  // The desktop's other windows and a moment with no window in front change nothing.
  for (const char* shell : {"Progman", "WorkerW", "Shell_SecondaryTrayWnd", "#32769"}) {
    EXPECT_EQ(poll_with(d.desktop.AddWindow(kNoWindow, shell)), d.app) << shell;
  }
  EXPECT_EQ(poll_with(kNoWindow), d.app);
  EXPECT_EQ(d.window.status(), u"チャット \U0001F600");
  EXPECT_EQ(poll_with(d.window.MainWindow()), d.app);
  front.held = true;  // a send just ended
  EXPECT_EQ(poll_with(d.other), d.app);
  EXPECT_EQ(poll_with(d.window.MainWindow()), d.app);
  EXPECT_EQ(poll_with(d.other), d.other);
}

// A picked input box of another program, posted to while it stays in the background.
struct PickDesk : SendDesk {
  Handle top = desktop.AddWindow(kNoWindow, "Client", "IRC");
  Handle input = desktop.AddWindow(top, "Edit");
  Handle button = desktop.AddWindow(top, "Button", "送信", 1002);
  TargetSettings settings;

  explicit PickDesk(bool unicode) {
    desktop.SetUnicode(input, unicode);
    settings.kind = TargetKind::kPickedWindow;
    settings.picked = {input, sim::SimDesktop::kOtherProcess, button, sim::SimDesktop::kOtherProcess};
    window.Select(ModeOption::AAOpt);
    window.SetWait(u"0");
  }
  SendOutcome Send() { return SendCommand(desktop, window, chat, settings, kNoWindow, stop); }
  // The posts as (W?, window, message, wParam, lParam).
  std::vector<std::tuple<bool, Handle, std::uint32_t, std::uintptr_t, std::intptr_t>> Posts() const {
    std::vector<std::tuple<bool, Handle, std::uint32_t, std::uintptr_t, std::intptr_t>> out;
    for (const sim::Event& e : desktop.Posts()) out.emplace_back(e.wide, e.window, e.message, e.wparam, e.lparam);
    return out;
  }
};

TEST(PickedSend, EachPressKindSaysTheLineAsTheProgramExpects) {
  constexpr std::intptr_t kDown = 0x001C0001, kUp = static_cast<std::intptr_t>(0xC01C0001u);
  const std::vector<std::tuple<std::uint32_t, std::uintptr_t, std::intptr_t>> enter = {
      {kWmKeyDown, kVkReturn, kDown}, {kWmKeyUp, kVkReturn, kUp}};
  struct Case {
    PickedPress press;
    std::uint32_t style;
    int button_id;
    std::vector<std::tuple<std::uint32_t, std::uintptr_t, std::intptr_t>> after_text;  // to the input box unless a button
  };
  const Case cases[] = {
      {PickedPress::kEnter, 0, 1002, enter},
      // The key, not a '\r', in a multi-line box too: its program's loop decides.
      {PickedPress::kEnter, kEsMultiLine, 1002, enter},
      {PickedPress::kButton, 0, 1002, {{kWmCommand, 1002, 0}}},
      // WM_COMMAND has 16 bits for the id; the upper half of wParam is the notification.
      {PickedPress::kButton, 0, 0x1F3EA, {{kWmCommand, 0xF3EA, 0}}},
      {PickedPress::kButton, 0, -2, {{kWmCommand, 0xFFFE, 0}}},
      {PickedPress::kNone, 0, 1002, {}},
  };
  for (const Case& c : cases) {
    PickDesk d(true);
    d.settings.press = c.press;
    d.desktop.SetStyle(d.input, c.style);
    d.settings.picked.button = d.desktop.AddWindow(d.top, "Button", "送信", c.button_id);
    d.SetMessage(u"あ\U0001F600");
    ASSERT_TRUE(d.Send()) << ::testing::PrintToString(d.window.status_detail());
    std::vector<std::tuple<bool, Handle, std::uint32_t, std::uintptr_t, std::intptr_t>> expected = {
        {true, d.input, kWmChar, 0x3042, 1}, {true, d.input, kWmChar, 0xD83D, 1}, {true, d.input, kWmChar, 0xDE00, 1}};
    for (const auto& [message, wparam, lparam] : c.after_text) {
      if (message == kWmCommand) {
        expected.emplace_back(true, d.top, message, wparam, d.settings.picked.button.value);
      } else {
        expected.emplace_back(true, d.input, message, wparam, lparam);
      }
    }
    EXPECT_EQ(d.Posts(), expected) << static_cast<int>(c.press) << " " << c.button_id;
    EXPECT_EQ(d.desktop.GetForegroundWindow(), kNoWindow) << "the foreground is never touched";
  }
}

// What a busy thread has taken, as its input box sees it: characters, and the '\r' of
// Enter; the keys themselves are left out.
std::u16string SeenBy(const sim::SimDesktop& desktop, Handle input) {
  std::u16string seen;
  for (const sim::Event& e : desktop.Taken(input)) {
    if (e.message == kWmChar) seen += static_cast<char16_t>(e.wparam);
    if (e.message != kWmImeChar) continue;
    const auto code = static_cast<std::uint32_t>(e.wparam);
    const char bytes[] = {static_cast<char>(code >> 8 & 0xFF), static_cast<char>(code & 0xFF)};
    seen += code > 0xFF ? FromAnsi(std::string_view(bytes, 2)) : FromAnsi(std::string_view(bytes + 1, 1));
  }
  return seen;
}

TEST(PickedSend, TheNextLineWaitsUntilTheProgramHasHandledTheLastOnesEnter) {
  struct Case {
    bool unicode;
    PickedPress press;
    std::uint32_t style;
    bool minimized;  // not painted: the send counts round trips instead
    std::u16string seen;
    bool never_paints = false;  // a program that validates nothing: counted after a while
  };
  const Case cases[] = {
      {true, PickedPress::kEnter, 0, false, u"aあ\U0001F600\rb\rc\r"},
      {true, PickedPress::kEnter, kEsMultiLine, false, u"aあ\U0001F600\rb\rc\r"},
      {false, PickedPress::kEnter, 0, false, u"aあ〓\rb\rc\r"},
      {false, PickedPress::kEnter, kEsMultiLine, true, u"aあ〓\rb\rc\r"},
      {true, PickedPress::kEnter, 0, true, u"aあ\U0001F600\rb\rc\r"},
      {true, PickedPress::kEnter, 0, false, u"aあ\U0001F600\rb\rc\r", true},
      // Whatever the press, a send that went through has been taken whole.
      {true, PickedPress::kButton, 0, false, u"aあ\U0001F600bc"},
      {false, PickedPress::kNone, 0, true, u"aあ〓bc"},
  };
  for (const Case& c : cases) {
    PickDesk d(c.unicode);
    d.settings.press = c.press;
    d.desktop.SetStyle(d.input, c.style);
    d.desktop.SetIconic(d.top, c.minimized);
    d.desktop.SetBusyThread({d.top});
    if (c.never_paints) d.desktop.SetNeverPaints(d.top);
    d.SetMessage(c.unicode ? u"aあ\U0001F600\r\nb\r\nc" : u"aあ〓\r\nb\r\nc");
    ASSERT_TRUE(d.Send()) << ::testing::PrintToString(d.window.status_detail());
    EXPECT_EQ(SeenBy(d.desktop, d.input), c.seen) << c.unicode << " " << c.style;
    EXPECT_EQ(d.desktop.Pending(d.input), 0u);
  }
  // A line said with no press at all is taken too.
  PickDesk d(true);
  d.desktop.SetBusyThread({d.top});
  d.window.Select(ModeOption::DEFAULTOpt);
  d.SetMessage(u"ab");
  ASSERT_TRUE(d.Send());
  EXPECT_EQ(SeenBy(d.desktop, d.input), u"ba");
  EXPECT_EQ(d.desktop.Pending(d.input), 0u);
}

TEST(PickedSend, AProgramThatTakesNothingEndsTheSendWithTheLineNotCounted) {
  struct Case {
    std::function<void(PickDesk&)> arrange;
    std::u16string status;
  };
  const Case cases[] = {
      {[](PickDesk&) {}, u"送信先が応答しません（0/2行済み）"},
      {[](PickDesk& d) { d.desktop.At(3000, [&d] { d.desktop.Destroy(d.top); }); }, u"送信先が閉じられました（0/2行済み）"},
  };
  for (const Case& c : cases) {
    PickDesk d(true);
    d.desktop.SetBusyThread({d.top});
    d.desktop.SetHung(d.input, true);
    c.arrange(d);
    d.SetMessage(u"ab\r\ncd");
    EXPECT_FALSE(d.Send());
    EXPECT_EQ(d.window.status(), c.status);
    EXPECT_EQ(d.window.MessageText(), u"ab\r\ncd");
  }
}

TEST(PickedSend, AStopCutsThePausesShortAndTheLineIsStillSaid) {
  PickDesk d(true);
  d.settings.char_interval_ms = 1000;
  d.SetMessage(u"abcde\r\nfg");
  d.desktop.At(1500, [&d] { d.stop.Request(); });
  EXPECT_FALSE(d.Send());
  EXPECT_EQ(d.window.status(), u"1/2行で中止（残り1行）");
  EXPECT_EQ(d.desktop.now_ms(), 1500u);
  std::u16string posted;
  for (const sim::Event& e : d.desktop.Posts()) posted += e.message == kWmChar ? static_cast<char16_t>(e.wparam) : u'|';
  EXPECT_EQ(posted, u"abcde||");
  EXPECT_EQ(d.window.MessageText(), u"fg");
}

TEST(PickedSend, AnAnsiInputBoxGetsTheChatsCodes) {
  PickDesk d(false);
  d.settings.press = PickedPress::kNone;
  d.SetMessage(u"ｱ漢a\u301C");
  ASSERT_TRUE(d.Send());
  std::vector<std::tuple<bool, Handle, std::uint32_t, std::uintptr_t, std::intptr_t>> expected;
  for (const std::int32_t code : CharCodes(u"ｱ漢a\u301C")) {
    expected.emplace_back(false, d.input, kWmImeChar, static_cast<std::uintptr_t>(static_cast<std::intptr_t>(code)), 1);
  }
  EXPECT_EQ(d.Posts(), expected);
  // An emoji has no code there.
  PickDesk e(false);
  e.SetMessage(u"\U0001F600");
  EXPECT_FALSE(e.Send());
  EXPECT_EQ(e.window.status(), u"送信できない文字が含まれています");
}

TEST(PickedSend, APickedWindowIsCheckedBeforeAnythingIsPosted) {
  constexpr std::u16string_view kGone = u"指定したウィンドウが閉じられました";
  const auto in_other_window = [](PickDesk& d) {
    d.settings.picked.button = d.desktop.AddWindow(d.desktop.AddWindow(kNoWindow, "Other", "別"), "Button", "送信", 1);
  };
  struct Case {
    const char* name;
    PickedPress press;
    bool press_asked;  // mode 3 without 送信と同時に発言 says nothing
    std::function<void(PickDesk&)> arrange;
    std::u16string_view status;  // empty: the send goes through
  };
  const Case cases[] = {
      {"input box closed", PickedPress::kEnter, true, [](PickDesk& d) { d.desktop.Destroy(d.top); }, kGone},
      // The handle now names a window of another program.
      {"handle reused", PickedPress::kEnter, true, [](PickDesk& d) { d.desktop.SetProcess(d.input, 7); }, kGone},
      {"button closed", PickedPress::kButton, true, [](PickDesk& d) { d.desktop.Destroy(d.button); }, kGone},
      {"button of another window", PickedPress::kButton, true, in_other_window, kPickedButtonElsewhereText},
      {"elevated", PickedPress::kNone, true, [](PickDesk& d) { d.desktop.SetRunsAboveUs(d.input); },
       u"送信先が管理者として実行されています"},
      // The button matters only when it will be pressed.
      {"button closed, Enter", PickedPress::kEnter, true, [](PickDesk& d) { d.desktop.Destroy(d.button); }, {}},
      {"button closed, no press", PickedPress::kButton, false, [](PickDesk& d) { d.desktop.Destroy(d.button); }, {}},
      {"button of another window, no press", PickedPress::kButton, false, in_other_window, {}},
  };
  for (const Case& c : cases) {
    PickDesk d(true);
    d.settings.press = c.press;
    d.window.Select(c.press_asked ? ModeOption::AAOpt : ModeOption::DEFAULTOpt);
    c.arrange(d);
    if (c.status.empty()) {
      d.SetMessage(u"a");
      EXPECT_TRUE(d.Send()) << c.name << ": " << ::testing::PrintToString(d.window.status_detail());
      continue;
    }
    // Said before anything about the text: an emoji is no reason when the window is gone.
    d.SetMessage(u"a\U0001F600");
    EXPECT_FALSE(d.Send()) << c.name;
    EXPECT_EQ(d.window.status(), c.status) << c.name;
    EXPECT_TRUE(d.desktop.Posts().empty()) << c.name;
  }
}

TEST(PickedSend, ThePauseFollowsEachWholeCharacter) {
  PickDesk d(true);
  d.settings.press = PickedPress::kNone;
  d.settings.char_interval_ms = 40;
  d.SetMessage(u"a\U0001F600");
  ASSERT_TRUE(d.Send());
  std::vector<Step::Kind> order;
  for (const Step& s : Recorded(d.desktop)) order.push_back(s.kind);
  using K = Step::Kind;
  // Two units of the pair go out back to back.
  EXPECT_EQ(order, (std::vector<K>{K::kOther, K::kSleep, K::kOther, K::kOther, K::kSleep, K::kSleep}));
  EXPECT_EQ(d.desktop.now_ms(), 80u);
}

}  // namespace
}  // namespace kakehashi::testing
