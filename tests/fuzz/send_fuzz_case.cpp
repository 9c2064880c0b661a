// A random send and its independent check.
#include "fuzz/send_fuzz_case.h"

#include <algorithm>
#include <map>
#include <sstream>
#include <vector>

#include "delivery/delay.h"
#include "delivery/send_command.h"
#include "delivery/send_test_support.h"
#include "platform/code_page.h"

namespace kakehashi::fuzz {
namespace {

using testing::Step;

// Draws small numbers from the input; an exhausted input gives zeros.
class Bytes {
 public:
  Bytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  std::size_t Below(std::size_t n) { return pos_ < size_ ? data_[pos_++] % n : 0; }
  bool Flip() { return Below(2) == 1; }
  bool empty() const { return pos_ >= size_; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

struct Text {
  std::u16string text;
  bool has_emoji = false;
};

// Random text from pieces the tool meets: ASCII, kana, kanji, both blanks, half-width
// katakana, line breaks (also lone CR and LF), tabs, emoji, and long runs.
Text RandomText(Bytes& in, std::size_t max_pieces, bool line_breaks) {
  static const char16_t* const kPieces[] = {u"a", u"Z", u"~", u"(", u"^", u"。", u"あ", u"ん", u"漢", u"語",
                                            u" ", u"\u3000", u"ｱ", u"ﾟ", u"\t", u"0"};
  Text t;
  const std::size_t pieces = in.Below(max_pieces + 1);
  for (std::size_t i = 0; i < pieces && !in.empty(); ++i) {
    const std::size_t kind = in.Below(24);
    if (kind < 16) {
      t.text += kPieces[kind];
    } else if (kind < 19 && line_breaks) {
      t.text += u"\r\n";
    } else if (kind == 19 && line_breaks) {
      t.text += in.Flip() ? u"\r" : u"\n";
    } else if (kind == 20 && in.Below(6) == 0) {
      t.text += u"\U0001F600";
      t.has_emoji = true;
    } else if (kind == 21) {
      // Runs around the classic 1000-byte line buffer.
      t.text.append(400 + in.Below(256) * 4, in.Flip() ? u'あ' : u'x');
    } else if (kind == 22 && in.Below(16) == 0) {
      // Now and then a line beyond what a line read can hold.
      t.text.append(32767 + in.Below(4), u'漢');
    } else {
      t.text += u" ";
    }
  }
  return t;
}

enum class Target { kChat, kMessenger, kMessengerWithButton, kNone, kInputGone, kOwnerGone, kOwnerZero,
                    kInputQuota, kOwnerQuota, kCount };

struct Call {
  Handle window;
  std::uint32_t message;
  std::int64_t value;
  bool sleep = false;
  std::uint32_t ms = 0;
};

// Lines as the user sees them: CR LF, a lone CR and a lone LF each end a line.
std::vector<std::u16string> SplitAtLineBreaks(std::u16string_view text) {
  std::vector<std::u16string> lines(1);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != u'\r' && text[i] != u'\n') {
      lines.back() += text[i];
      continue;
    }
    if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    lines.emplace_back();
  }
  return lines;
}

std::u16string JoinWithCrLf(const std::vector<std::u16string>& lines) {
  std::u16string text;
  for (std::size_t i = 0; i < lines.size(); ++i) text += (i ? u"\r\n" : u"") + lines[i];
  return text;
}

std::string Describe(const std::vector<Step>& steps) {
  std::ostringstream os;
  for (std::size_t i = 0; i < steps.size() && i < 40; ++i) os << steps[i] << ' ';
  if (steps.size() > 40) os << "... (" << steps.size() << " steps)";
  return os.str();
}

std::u16string Decimal(std::size_t n) {
  const std::string digits = std::to_string(n);
  return std::u16string(digits.begin(), digits.end());
}

}  // namespace

std::string RunSendCase(const std::uint8_t* data, std::size_t size) {
  Bytes in(data, size);
  testing::SendDesk d;
  d.desktop.SetGetLineWritesTerminator(in.Flip());

  // Control states.
  const ModeOption options[] = {ModeOption::AAOpt, ModeOption::SAKASAOpt, ModeOption::DEFAULTOpt};
  const ModeOption option = options[in.Below(3)];
  d.window.Select(option);
  std::map<CheckBox, int> checks;
  for (const CheckBox box : {CheckBox::SendNow, CheckBox::Limit, CheckBox::PlusCheck, CheckBox::BeforePlusCheck,
                             CheckBox::AfterPlusCheck}) {
    checks[box] = in.Flip() ? 1 : 0;
    d.window.SetCheck(box, checks[box]);
  }
  static const char16_t* const kWaits[] = {u"500", u"", u"0", u"1.5", u"-3", u"1e12", u"&H10", u"2.5"};
  const std::u16string wait = kWaits[in.Below(8)];
  d.window.SetWait(wait);
  const Text word = RandomText(in, 4, false);
  d.window.SetPlusWord(word.text);

  // The target.
  const auto target = static_cast<Target>(in.Below(static_cast<std::size_t>(Target::kCount)));
  TargetWindows t = d.chat;
  std::map<Handle, std::size_t> quota;
  std::vector<Handle> gone;
  const std::size_t allowed = in.Below(12);
  switch (target) {
    case Target::kChat: break;
    case Target::kMessenger: t = d.messenger; break;
    case Target::kMessengerWithButton:
      t = d.messenger;
      t.TargetSendButton = d.desktop.AddWindow(t.TargetHost, "button", "", 1);
      break;
    case Target::kNone: t.TargetEdit = kNoWindow; break;
    case Target::kInputGone: gone = {t.TargetEdit}; break;
    case Target::kOwnerGone: gone = {t.TargetHost, t.TargetEdit, t.TargetSendButton}; break;
    case Target::kOwnerZero: t.TargetHost = kNoWindow; break;
    case Target::kInputQuota: quota[t.TargetEdit] = allowed; break;
    case Target::kOwnerQuota: quota[t.TargetHost] = allowed; break;
    case Target::kCount: break;
  }
  for (const Handle h : gone) d.desktop.Destroy(h);
  for (const auto& [h, n] : quota) d.desktop.SetReceiver({h}, n, 0);
  if (in.Flip()) t.TargetIsMessenger = !t.TargetIsMessenger;

  const Text message = RandomText(in, 40, true);
  d.SetMessage(message.text);
  const TargetWindows before = t;
  const std::u16string status_before = d.window.status();

  SendCommand(d.desktop, d.window, t, d.stop);

  // What the rules give.
  const auto mode = option == ModeOption::AAOpt       ? SendMode::kLines
                    : option == ModeOption::SAKASAOpt ? SendMode::kLinesReversed
                                                      : SendMode::kSingleReversed;
  const std::vector<std::u16string> lines = SplitAtLineBreaks(message.text);
  const bool header = checks[CheckBox::PlusCheck] == 1 && checks[CheckBox::BeforePlusCheck] == 1 && !word.text.empty();
  const bool footer = checks[CheckBox::PlusCheck] == 1 && checks[CheckBox::AfterPlusCheck] == 1 && !word.text.empty();
  bool overlong = false;
  for (const auto& line : lines) overlong = overlong || ToAnsi(line).size() > 65533;

  std::u16string refusal;
  if (message.text.empty()) {
    refusal = u"文字を入力してください";
  } else if (!t.TargetEdit) {
    refusal = u"ウィンドウが選択されていません";
  } else if (message.has_emoji || ((header || footer) && word.has_emoji)) {
    refusal = u"送信できない文字が含まれています";
  } else if (mode != SendMode::kSingleReversed && overlong) {
    refusal = u"1行が長すぎて送信できません";
  } else if (!t.TargetIsMessenger && lines.size() > 4 && checks[CheckBox::Limit] == 0) {
    refusal = u"4行以上は無視になります";
  } else if (mode == SendMode::kSingleReversed && lines.size() > 1) {
    refusal = u"単一行じゃないのれす";
  } else if (!t.TargetHost && (mode != SendMode::kSingleReversed || checks[CheckBox::SendNow] == 1)) {
    refusal = u"送信先のウィンドウが見つかりません";
  }

  std::vector<Call> calls;
  const auto chars = [&](const std::vector<std::int32_t>& codes) {
    for (const std::int32_t c : codes) calls.push_back({t.TargetEdit, kWmImeChar, c});
  };
  const bool button_alive = t.TargetSendButton && std::find(gone.begin(), gone.end(), t.TargetSendButton) == gone.end();
  const int id = !button_alive ? 0 : t.TargetSendButton == d.chat.TargetSendButton ? testing::kChatButtonId : 1;
  if (refusal.empty()) {
    if (mode == SendMode::kSingleReversed) {
      chars(LineCodes(mode, message.text, header, footer, word.text));
      if (checks[CheckBox::SendNow] == 1) calls.push_back({t.TargetHost, kWmCommand, id});
    } else {
      for (const auto& line : lines) {
        chars(LineCodes(mode, LineAsRead(line), header, footer, word.text));
        calls.push_back({kNoWindow, 0, 0, true, DelayMilliseconds(wait)});
        calls.push_back({t.TargetHost, kWmCommand, id});
      }
    }
  }

  // Which post fails first, by the windows' state. A full queue that never empties is
  // tried again every 10 ms for ten seconds.
  std::vector<Step> expected;
  std::size_t presses = 0;
  for (const Call& c : calls) {
    if (c.sleep) {
      expected.push_back({Step::Kind::kSleep, c.ms, kNoWindow, true});
      continue;
    }
    const bool alive = c.window && std::find(gone.begin(), gone.end(), c.window) == gone.end();
    const bool full = alive && quota.count(c.window) && quota[c.window]-- == 0;
    const Step::Kind kind = c.message == kWmImeChar ? Step::Kind::kChar : Step::Kind::kPress;
    expected.push_back({kind, c.value, c.window, alive && !full});
    if (alive && !full) {
      if (kind == Step::Kind::kPress) ++presses;
      continue;
    }
    if (full) {
      for (int i = 0; i < 1000; ++i) {
        expected.push_back({Step::Kind::kSleep, 10, kNoWindow, true});
        expected.push_back({kind, c.value, c.window, false});
      }
    }
    const std::size_t total = mode == SendMode::kSingleReversed ? 1 : lines.size();
    refusal = std::u16string(full ? u"送信先が応答しません" : u"送信先のウィンドウが見つかりません") + u"（" +
              Decimal(presses) + u"/" + Decimal(total) + u"行送信済み）";
    break;
  }

  // Compare.
  std::ostringstream problems;
  const std::vector<Step> recorded = testing::Recorded(d.desktop);
  if (recorded != expected) {
    problems << "posted: " << Describe(recorded) << "\nexpected: " << Describe(expected) << '\n';
  }
  if (refusal.empty()) {
    if (d.window.status() != status_before) problems << "status changed by a send that went through\n";
    if (!d.window.MessageText().empty()) problems << "message not emptied after a send\n";
  } else {
    if (d.window.status() != refusal) problems << "wrong status line\n";
    // The text stays, with its line breaks as CR LF once the command looked at them.
    const bool looked = !message.text.empty() && t.TargetEdit;
    if (d.window.MessageText() != (looked ? JoinWithCrLf(lines) : message.text)) problems << "message text lost\n";
  }
  if (!(t == before)) problems << "targets changed\n";
  const std::string out = problems.str();
  if (out.empty()) return out;
  return out + "mode " + std::to_string(static_cast<int>(mode)) + ", target kind " +
         std::to_string(static_cast<int>(target)) + ", lines " + std::to_string(lines.size());
}

}  // namespace kakehashi::fuzz
