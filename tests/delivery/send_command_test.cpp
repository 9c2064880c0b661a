// The Send button: its own refusals, the mode it picks, and the box after the send.
#include "delivery/send_command.h"

#include <gtest/gtest.h>

#include <functional>
#include <new>

#include <cstdint>
#include <vector>

#include "text/line_breaks.h"
#include "delivery/send_test_support.h"
#include "targets/target_settings.h"
#include "forms/form_rules.h"

namespace kakehashi::testing {
namespace {

struct RefusalCase {
  const char* name;
  std::u16string text;
  bool has_target;
  std::u16string plus_word;
  bool plus_wanted;
  ModeOption option;
  std::u16string status;  // empty: goes through
};

TEST(SendCommand, RefusesBeforeAnythingIsPostedAndKeepsTheText) {
  const std::u16string emoji = u"\U0001F600";
  const std::u16string overlong(kLongestLineBytes / 2 + 1, u'漢');
  const RefusalCase cases[] = {
      {"empty, no target", u"", false, u"w", false, ModeOption::AAOpt, u"文字を入力してください"},
      {"empty", u"", true, u"w", false, ModeOption::AAOpt, u"文字を入力してください"},
      {"no target", u"abc", false, u"w", false, ModeOption::AAOpt, u"ウィンドウが選択されていません"},
      {"no target beats emoji", emoji, false, u"w", false, ModeOption::AAOpt, u"ウィンドウが選択されていません"},
      {"emoji mode 1", u"a" + emoji, true, u"w", false, ModeOption::AAOpt, u"送信できない文字が含まれています"},
      {"emoji mode 3", emoji, true, u"w", false, ModeOption::DEFAULTOpt, u"送信できない文字が含まれています"},
      {"emoji in wanted word", u"abc", true, emoji, true, ModeOption::SAKASAOpt, u"送信できない文字が含まれています"},
      {"emoji in unused word", u"abc", true, emoji, false, ModeOption::SAKASAOpt, u""},
      {"overlong line", u"a\r\n" + overlong, true, u"w", false, ModeOption::AAOpt, u"1行が長すぎて送信できません"},
      {"overlong line, mode 3", overlong, true, u"w", false, ModeOption::DEFAULTOpt, u""},
      {"blank and kana", u" \u3000ｱ", true, u"w", true, ModeOption::DEFAULTOpt, u""},
      {"single blank", u" ", true, u"w", false, ModeOption::AAOpt, u""},
  };
  for (const RefusalCase& c : cases) {
    SendDesk d;
    d.window.Select(c.option);
    d.SetHeaderFooter(c.plus_wanted, false, c.plus_word);
    d.SetMessage(c.text);
    TargetWindows targets = d.chat;
    if (!c.has_target) targets.TargetEdit = kNoWindow;
    const TargetWindows before = targets;
    SendCommand(d.desktop, d.window, targets, d.stop);
    EXPECT_EQ(targets, before) << c.name;
    if (c.status.empty()) {
      EXPECT_EQ(d.window.status(), u"ウィンドウが選択されていません") << c.name << ": success leaves the status as it was";
      EXPECT_EQ(d.window.MessageText(), u"") << c.name;
      EXPECT_FALSE(d.desktop.Posts().empty()) << c.name;
    } else {
      EXPECT_EQ(d.window.status(), c.status) << c.name;
      EXPECT_EQ(d.window.MessageText(), c.text) << c.name;
      EXPECT_TRUE(d.desktop.events().empty()) << c.name << ": not even a line count";
    }
  }
}

// What the target's program or the system can tell before the first post.
TEST(SendCommand, TargetsAndSystemsThatCannotTakeTheTextAreRefusedFirst) {
  struct Case {
    const char* name;
    std::function<void(SendDesk&)> arrange;
    ModeOption option;
    std::u16string status;
  };
  const Case cases[] = {
      {"elevated chat", [](SendDesk& d) { d.desktop.SetRunsAboveUs(d.chat.TargetEdit); }, ModeOption::AAOpt,
       u"送信先が管理者として実行されています"},
      {"elevated chat, mode 3", [](SendDesk& d) { d.desktop.SetRunsAboveUs(d.chat.TargetEdit); }, ModeOption::DEFAULTOpt,
       u"送信先が管理者として実行されています"},
      {"UTF-8 system", [](SendDesk& d) { d.desktop.SetAnsiCodePage(65001); }, ModeOption::AAOpt,
       u"シフトJISのWindowsでのみ送信できます"},
      {"western system, emoji", [](SendDesk& d) { d.desktop.SetAnsiCodePage(1252); d.SetMessage(u"\U0001F600"); },
       ModeOption::DEFAULTOpt, u"シフトJISのWindowsでのみ送信できます"},
  };
  for (const Case& c : cases) {
    SendDesk d;
    d.window.Select(c.option);
    d.SetMessage(u"ab\r\ncd");
    if (c.option == ModeOption::DEFAULTOpt) d.SetMessage(u"ab");
    c.arrange(d);
    const std::u16string text = d.window.MessageText();
    EXPECT_FALSE(SendCommand(d.desktop, d.window, d.chat, d.stop)) << c.name;
    EXPECT_EQ(d.window.status(), c.status) << c.name;
    EXPECT_TRUE(d.desktop.Posts().empty()) << c.name;
    EXPECT_EQ(d.window.MessageText(), text) << c.name;
  }
}

// Out of memory for a huge text, or any other exception: told, and the text stays.
TEST(SendCommand, AnExceptionEndsInAStatusMessage) {
  class Failing final : public ForwardingView {
   public:
    using ForwardingView::ForwardingView;
    std::u16string PlusWordText() const override { throw std::bad_alloc(); }
  };
  SendDesk d;
  d.SetMessage(u"ab");
  Failing view(d.window);
  EXPECT_FALSE(SendCommand(d.desktop, view, d.chat, d.stop));
  EXPECT_EQ(d.window.status(), u"送信中にエラーが発生しました");
  EXPECT_EQ(d.window.MessageText(), u"ab");
}

TEST(SendCommand, EngineRefusalsAndLostTargetsKeepTheText) {
  struct Case {
    std::u16string text;
    bool target_gone;
    std::u16string status;
  };
  const Case cases[] = {
      {u"1\r\n2\r\n3\r\n4\r\n5", false, u"4行以上は無視になります"},
      {u"1\r\n2", true, u"送信先が見つかりません（0/2行済み）"},
      {u"\u301C\r\n2\r\n3\r\n4\r\n5", false, u"4行以上は無視になります"},  // the pasted look-alike stays
      {u"\u2212\r\n2", true, u"送信先が見つかりません（0/2行済み）"},
  };
  for (const Case& c : cases) {
    SendDesk d;
    d.window.Select(ModeOption::AAOpt);
    d.SetMessage(c.text);
    if (c.target_gone) d.desktop.Destroy(d.chat.TargetHost);
    SendCommand(d.desktop, d.window, d.chat, d.stop);
    EXPECT_EQ(d.window.status(), c.status);
    EXPECT_EQ(d.window.MessageText(), c.text);
  }
}

TEST(SendCommand, LoneCrAndLfAreLineBreaksAndNeverPosted) {
  struct Case {
    ModeOption option;
    std::u16string text;
    std::vector<std::u16string> lines;  // shaped, one press each; none: refused
    std::u16string_view status;
  };
  const Case cases[] = {
      {ModeOption::AAOpt, u"ab\ncd", {u"ab", u"cd"}, kStatusNoWindow},
      {ModeOption::AAOpt, u"ab\rcd\r\nef", {u"ab", u"cd", u"ef"}, kStatusNoWindow},
      {ModeOption::SAKASAOpt, u"ab\n\rcd", {u"ba", u"", u"dc"}, kStatusNoWindow},
      {ModeOption::DEFAULTOpt, u"ab\ncd", {}, u"単一行じゃないのれす"},
      {ModeOption::DEFAULTOpt, u"ab\r", {}, u"単一行じゃないのれす"},
  };
  for (const Case& c : cases) {
    SendDesk d;
    d.window.Select(c.option);
    d.window.SetWait(u"");
    d.SetMessage(c.text);
    SendCommand(d.desktop, d.window, d.chat, d.stop);
    Expect e(d.chat);
    for (const std::u16string& line : c.lines) e.Text(line).Sleep(0).Press(kChatButtonId);
    EXPECT_EQ(Recorded(d.desktop), e.steps());
    EXPECT_EQ(d.window.status(), c.status);
    if (c.lines.empty()) {
      EXPECT_EQ(d.window.MessageText(), ToCrLf(c.text)) << "refused: the box keeps the text, as CR LF";
    }
  }
}

// Text pasted from web pages and Macs carries Unicode look-alikes of Shift_JIS characters;
// they go out as the code page's characters, in the message and in the header alike.
TEST(SendCommand, PastedLookAlikesAreSentAsTheCodePageCharacters) {
  struct Case {
    ModeOption option;
    std::vector<std::int32_t> codes;  // after the header's code
  };
  // 10〜20時: '1' '0' ～(81 60) '2' '0' 時(8E 9E), and in modes 1 and 2 the one blank kept
  // of the two spaces a line read adds.
  const Case cases[] = {
      {ModeOption::AAOpt, {0x31, 0x30, -0x7EA0, 0x32, 0x30, -0x7162, 0x20}},
      {ModeOption::SAKASAOpt, {0x20, -0x7162, 0x30, 0x32, -0x7EA0, 0x30, 0x31}},
      {ModeOption::DEFAULTOpt, {-0x7162, 0x30, 0x32, -0x7EA0, 0x30, 0x31}},
  };
  for (const Case& c : cases) {
    SendDesk d;
    d.window.Select(c.option);
    d.window.SetWait(u"");
    d.window.SetCheck(CheckBox::SendNow, 1);
    d.SetHeaderFooter(true, false, u"\u2212");
    d.SetMessage(u"10\u301C20時");
    SendCommand(d.desktop, d.window, d.chat, d.stop);
    EXPECT_EQ(d.window.MessageText(), u"");
    Expect e(d.chat);
    e.Code(-0x7E84);  // － (81 7C) for MINUS SIGN
    for (const std::int32_t code : c.codes) e.Code(code);
    if (c.option != ModeOption::DEFAULTOpt) e.Sleep(0);
    e.Press(kChatButtonId);
    EXPECT_EQ(Recorded(d.desktop), e.steps()) << static_cast<int>(c.option);
  }
}

// Each kind of target takes the text by its own rules: the chat and an ANSI window code
// page 932 only (look-alikes taken to its characters), the chat's lines read through the
// box's buffer; a Unicode window and keystrokes any character but controls and lone halves.
TEST(SendCommand, EachKindOfTargetRefusesWhatItCannotTake) {
  enum Kind { kChat, kAnsi, kUnicode, kKeys };
  const std::u16string emoji = u"\U0001F600";
  const std::u16string unsendable(kUnsendableCharacterText), needs_sjis(kNeedsShiftJisText);
  struct Case {
    const char* name;
    std::u16string text, word;  // the word goes before each line
    std::uint32_t code_page;
    std::u16string status[4];   // by Kind; empty: goes through
  };
  const Case cases[] = {
      {"emoji", u"a" + emoji, u"", 932, {unsendable, unsendable, u"", u""}},
      {"emoji in the header", u"ab", emoji, 932, {unsendable, unsendable, u"", u""}},
      {"control", u"a\x1B", u"", 932, {u"", u"", unsendable, unsendable}},
      {"western system", u"ab", u"", 1252, {needs_sjis, needs_sjis, u"", u""}},
      {"overlong line", u"a\r\n" + std::u16string(kLongestLineBytes / 2 + 1, u'漢'), u"", 932,
       {std::u16string(kLineTooLongText), u"", u"", u""}},
  };
  for (const Case& c : cases) {
    for (const Kind kind : {kChat, kAnsi, kUnicode, kKeys}) {
      SendDesk d;
      d.window.Select(ModeOption::AAOpt);
      d.window.SetWait(u"0");
      d.desktop.SetAnsiCodePage(c.code_page);
      d.SetHeaderFooter(!c.word.empty(), false, c.word);
      d.SetMessage(c.text);
      TargetSettings settings;
      const Handle top = d.desktop.AddWindow(kNoWindow, "Other", "other");
      const Handle input = d.desktop.AddWindow(top, "Edit");
      d.desktop.SetUnicode(input, kind == kUnicode);
      settings.picked = {input, sim::SimDesktop::kOtherProcess, kNoWindow, 0};
      settings.kind = kind == kChat ? TargetKind::kChat : kind == kKeys ? TargetKind::kKeystrokes : TargetKind::kPickedWindow;
      d.desktop.SetForeground(d.window.MainWindow());
      const SendOutcome outcome = SendCommand(d.desktop, d.window, d.chat, settings, top, d.stop);
      EXPECT_EQ(outcome.delivered(), c.status[kind].empty()) << c.name << " " << kind;
      if (!c.status[kind].empty()) {
        EXPECT_EQ(d.window.status(), c.status[kind]) << c.name << " " << kind;
      }
    }
  }
  // A look-alike goes to a Unicode target as it is.
  SendDesk d;
  d.window.Select(ModeOption::DEFAULTOpt);
  const Handle app = d.desktop.AddWindow(kNoWindow, "App", "app");
  d.desktop.SetForeground(d.window.MainWindow());
  d.SetMessage(u"10\u301C20");
  TargetSettings keys;
  keys.kind = TargetKind::kKeystrokes;
  ASSERT_TRUE(SendCommand(d.desktop, d.window, d.chat, keys, app, d.stop));
  EXPECT_EQ(d.desktop.TypedInto(app), u"02\u301C01");
}

// Options read through a view in which several can be selected at once, to show the order.
class OptionsWindow final : public ForwardingView {
 public:
  OptionsWindow(sim::SimMainWindow& base, bool aa, bool sakasa, bool def)
      : ForwardingView(base), aa_(aa), sakasa_(sakasa), def_(def) {}
  bool OptionSelected(ModeOption o) const override {
    return o == ModeOption::AAOpt ? aa_ : o == ModeOption::SAKASAOpt ? sakasa_ : def_;
  }

 private:
  bool aa_, sakasa_, def_;
};

TEST(SendCommand, FirstSelectedOptionPicksTheMode) {
  struct Case {
    bool aa, sakasa, def;
    std::u16string shaped;
    bool press;
  };
  const Case cases[] = {
      {true, true, true, u"ab", true},    {true, false, false, u"ab", true},  {false, true, true, u"ba", true},
      {false, true, false, u"ba", true},  {false, false, true, u"ba", false},
  };
  for (const Case& c : cases) {
    SendDesk d;
    d.window.SetWait(u"");
    d.SetMessage(u"ab");
    OptionsWindow view(d.window, c.aa, c.sakasa, c.def);
    SendCommand(d.desktop, view, d.chat, d.stop);
    Expect e(d.chat);
    e.Text(c.shaped);
    if (c.press) e.Sleep(0).Press(kChatButtonId);
    EXPECT_EQ(Recorded(d.desktop), e.steps()) << c.aa << c.sakasa << c.def;
  }
}

}  // namespace
}  // namespace kakehashi::testing
