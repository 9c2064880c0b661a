// A random send and its independent check. The expectation is rebuilt here from the
// delivery rules, written again: the trailing-blank cut, the spaces a line read adds, the
// reversal, the delay's number rule and the character codes, taken from the code page
// conversion one character at a time. Nothing of the product's text shaping or delay code
// is called.
#include "fuzz/send_fuzz_case.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <iomanip>
#include <map>
#include <optional>
#include <sstream>
#include <vector>

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
  std::size_t Below(std::size_t n) {
    if (n <= 256) return pos_ < size_ ? data_[pos_++] % n : 0;
    return (Below(256) << 8 | Below(256)) % n;
  }
  bool Flip() { return Below(2) == 1; }
  // True once in `n` draws (n a power of two below 256).
  bool OnceIn(std::size_t n) { return Below(n) == 0; }
  bool empty() const { return pos_ >= size_; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

// ---------------------------------------------------------------- characters and codes

// The number posted for one character: its byte, or lead * 256 + trail less 0x10000.
std::int32_t Code(const std::string& bytes) {
  const auto lead = static_cast<unsigned char>(bytes[0]);
  if (bytes.size() == 1) return lead;
  return lead * 256 + static_cast<unsigned char>(bytes[1]) - 0x10000;
}

// Every UTF-16 code unit taken alone through the code page conversion, once: its length
// in bytes (0 when it has no code) and its code; and the characters that have a code, by
// kind: single-byte, double-byte with a lead byte 81-9F, and with a lead byte E0-FC.
struct CodeBook {
  std::array<std::uint8_t, 0x10000> bytes{};
  std::array<std::int32_t, 0x10000> code{};
  std::vector<char16_t> single, lead_low, lead_high;

  CodeBook() {
    for (std::uint32_t u = 0; u <= 0xFFFF; ++u) {
      const auto unit = static_cast<char16_t>(u);
      const std::optional<std::string> b = ToAnsiExact(std::u16string_view(&unit, 1));
      if (!b) continue;
      bytes[u] = static_cast<std::uint8_t>(b->size());
      code[u] = Code(*b);
      if (b->size() == 1) {
        if (unit != u'\r' && unit != u'\n') single.push_back(unit);
      } else {
        (static_cast<unsigned char>((*b)[0]) >= 0xE0 ? lead_high : lead_low).push_back(unit);
      }
    }
  }
};

const CodeBook& Book() {
  static const CodeBook book;
  return book;
}

bool HasCode(char16_t unit) { return Book().bytes[unit] != 0; }

// Every code unit has a code of its own (so there is no surrogate, paired or not).
bool Sendable(std::u16string_view text) { return std::all_of(text.begin(), text.end(), HasCode); }

std::size_t ByteLength(std::u16string_view text) {
  std::size_t n = 0;
  for (const char16_t u : text) n += Book().bytes[u];
  return n;
}

// ---------------------------------------------------------------- the rules, again

bool Blank(char16_t ch) { return ch == 0x20 || ch == 0x3000; }

// The line followed by a space for every character that takes two bytes.
std::u16string AsRead(std::u16string_view line) {
  std::u16string read(line);
  for (const char16_t u : line) {
    if (Book().bytes[u] == 2) read.push_back(u' ');
  }
  return read;
}

// Everything up to and including the first blank of the final run of blanks.
std::u16string Cut(std::u16string text) {
  if (text.empty() || !Blank(text.back())) return text;
  std::size_t first = text.size() - 1;
  while (first > 0 && Blank(text[first - 1])) --first;
  text.resize(first + 1);
  return text;
}

std::u16string Reversed(std::u16string text) {
  std::reverse(text.begin(), text.end());
  return text;
}

// The delay for the text of Wait: blanks, tabs and line feeds dropped; a decimal number
// with an exponent in E or D, or &H/&O and an integer; rounded half to even; below 0 is 0,
// beyond the 32-bit range is its maximum.
std::int64_t Delay(std::u16string_view wait) {
  std::u16string s;
  for (const char16_t ch : wait) {
    if (!Blank(ch) && ch != u'\t' && ch != u'\n') s.push_back(ch);
  }
  const auto digit = [](char16_t ch) -> int {
    if (ch >= u'0' && ch <= u'9') return ch - u'0';
    const char16_t upper = ch >= u'a' && ch <= u'z' ? static_cast<char16_t>(ch - 32) : ch;
    return upper >= u'A' && upper <= u'F' ? upper - u'A' + 10 : 99;
  };
  double value = 0;
  if (!s.empty() && s[0] == u'&') {
    const int radix = s.size() < 2 ? 0 : (s[1] == u'H' || s[1] == u'h') ? 16 : (s[1] == u'O' || s[1] == u'o') ? 8 : 0;
    for (std::size_t i = 2; radix != 0 && i < s.size() && digit(s[i]) < radix; ++i) value = value * radix + digit(s[i]);
  } else {
    std::string number;
    std::size_t i = 0;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) number.push_back(static_cast<char>(s[i++]));
    const auto digits = [&] {
      std::size_t n = 0;
      for (; i < s.size() && s[i] >= u'0' && s[i] <= u'9'; ++i, ++n) number.push_back(static_cast<char>(s[i]));
      return n;
    };
    std::size_t mantissa = digits();
    if (i < s.size() && s[i] == u'.') {
      number.push_back('.');
      ++i;
      mantissa += digits();
    }
    if (mantissa > 0 && i + 1 < s.size() && std::u16string_view(u"EeDd").find(s[i]) != std::u16string_view::npos) {
      const std::size_t mark = i++;
      const std::size_t keep = number.size();
      number.push_back('e');
      if (s[i] == u'+' || s[i] == u'-') number.push_back(static_cast<char>(s[i++]));
      if (digits() == 0) {
        number.resize(keep);
        i = mark;
      }
    }
    if (mantissa > 0) value = std::strtod(number.c_str(), nullptr);
  }
  const double whole = std::floor(value);
  const double rest = value - whole;
  double rounded = rest > 0.5 ? whole + 1 : rest < 0.5 ? whole : std::fmod(whole, 2) == 0 ? whole : whole + 1;
  if (rounded < 0) rounded = 0;
  return rounded >= 2147483647.0 ? 2147483647 : static_cast<std::int64_t>(rounded);
}

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

std::u16string Decimal(std::size_t n) {
  const std::string digits = std::to_string(n);
  return std::u16string(digits.begin(), digits.end());
}

// ---------------------------------------------------------------- random texts

char16_t Pick(Bytes& in, const std::vector<char16_t>& from) { return from[in.Below(from.size())]; }

// `bytes` bytes of characters, mostly double-byte ones (fewer posts), first or last, so
// that a buffer edge may fall inside a double-byte character.
std::u16string OfLength(Bytes& in, std::size_t bytes) {
  const std::size_t doubles = bytes / 2 - in.Below(std::min<std::size_t>(bytes / 2, 64) + 1);
  std::u16string two(doubles, in.Flip() ? u'漢' : u'\u7E8A');  // lead bytes 8A and FA
  std::u16string one(bytes - 2 * doubles, in.Flip() ? u'x' : u'ｱ');
  return in.Flip() ? two + one : one + two;
}

// Random text: common characters, random characters with a code of every kind, both
// blanks in runs, control characters, look-alikes, characters without a code, lone and
// paired surrogates, any code unit at all, line breaks (also lone CR and LF), and lines
// around the 1000-byte and 65,533-byte read limits.
std::u16string RandomText(Bytes& in, std::size_t max_pieces, bool lines) {
  static const char16_t kCommon[] = u"aZ~\\(^。あ漢ｱﾟ0";
  static const char16_t kControls[] = {u'\t', u'\0', u'\x01', u'\x1B', u'\x7F'};
  static const char16_t kLookAlikes[] = u"\u301C\u2212\u2016\u2014\u00A2\u00A3\u00AC\u00A6";
  static const char16_t kNoCode[] = u"\u00E9\u0080\u00A5\u203E\uF8F0\u0085\uFFFF";
  static const std::u16string kSurrogates[] = {std::u16string(1, char16_t{0xD83D}), std::u16string(1, char16_t{0xDE00}),
                                               u"\xDE00\xD83D", u"\U0001F600"};
  static const std::size_t kLongLines[] = {998, 999, 1000, 1001, 1002, 65532, 65533, 65534, 65535};
  const CodeBook& letters = Book();
  std::u16string t;
  bool longest = false;
  const std::size_t pieces = in.Below(max_pieces + 1);
  for (std::size_t i = 0; i < pieces && !in.empty(); ++i) {
    switch (in.Below(32)) {
      case 0: case 1: case 2: case 3: case 4: case 5: case 6: case 7:
        t += kCommon[in.Below(std::size(kCommon) - 1)];
        break;
      case 8: case 9: case 10:
        for (std::size_t n = 1 + in.Below(4); n > 0; --n) t += in.Flip() ? u' ' : u'\u3000';
        break;
      case 11: t += kControls[in.Below(std::size(kControls))]; break;
      case 12: case 13: t += Pick(in, letters.single); break;
      case 14: case 15: case 16: t += Pick(in, letters.lead_low); break;
      case 17: case 18: t += Pick(in, letters.lead_high); break;
      case 19: t += kLookAlikes[in.Below(std::size(kLookAlikes) - 1)]; break;
      case 20:
        if (in.OnceIn(16)) t += kNoCode[in.Below(std::size(kNoCode) - 1)];
        break;
      case 21:
        if (in.OnceIn(16)) t += kSurrogates[in.Below(std::size(kSurrogates))];
        break;
      case 22:
        if (in.OnceIn(16)) t += static_cast<char16_t>(in.Below(0x10000));
        break;
      case 23: case 24: case 25:
        if (lines) t += in.OnceIn(4) ? (in.Flip() ? u"\r" : u"\n") : u"\r\n";
        break;
      case 26:
        if (lines && in.OnceIn(4)) {
          const std::size_t n = kLongLines[in.Below(std::size(kLongLines))];
          // At most one line near the largest read, so that a send stays quick.
          if (n < 65000 || (!longest && in.OnceIn(8))) {
            longest = longest || n >= 65000;
            t += u"\r\n" + OfLength(in, n) + u"\r\n";
          }
        }
        break;
      default: t += u' '; break;
    }
  }
  return t;
}

std::u16string RandomWait(Bytes& in) {
  static const char16_t* const kPieces[] = {
      u"500", u"0", u"1", u"5", u"9", u".", u"e", u"E", u"D", u"d", u"+", u"-", u"&H", u"&O", u"&h", u"F", u"7",
      u"8", u" ", u"\t", u"\n", u"\u3000", u",", u"$", u"x", u"2.5", u"0.5", u"1.5", u"3.5", u"1e3", u"1e400",
      u"2147483647", u"2147483648", u"4294967296", u"&HFFFFFFFF", u"1e-400", u"00"};
  std::u16string wait;
  for (std::size_t n = in.Below(6); n > 0; --n) wait += kPieces[in.Below(std::size(kPieces))];
  return wait;
}

// ---------------------------------------------------------------- one send

enum class Target { kChat, kMessenger, kMessengerWithButton, kNone, kInputGone, kOwnerGone, kOwnerZero,
                    kInputQuota, kOwnerQuota, kCount };

struct Setup {
  ModeOption option = ModeOption::DEFAULTOpt;
  std::map<CheckBox, int> checks;
  std::u16string wait, word, message;
  bool getline_terminator = false;
};

// What the user and the chat program see of one send.
struct Outcome {
  std::vector<Step> steps;
  std::u16string status;
  std::u16string message;
};

// The product: the send command on the simulated desktop `d`, whose windows are arranged
// already, with the controls of `s`. The only place that calls it and reads what it
// posted and slept.
Outcome Drive(testing::SendDesk& d, const Setup& s, TargetWindows& targets) {
  d.desktop.SetGetLineWritesTerminator(s.getline_terminator);
  d.window.Select(s.option);
  for (const auto& [box, value] : s.checks) d.window.SetCheck(box, value);
  d.window.SetWait(s.wait);
  d.window.SetPlusWord(s.word);
  d.SetMessage(s.message);
  SendCommand(d.desktop, d.window, targets, d.stop);
  return {testing::Recorded(d.desktop), d.window.status(), d.window.MessageText()};
}

// ASCII as it is, everything else as \uXXXX.
std::string Escaped(std::u16string_view text) {
  std::ostringstream os;
  for (const char16_t u : text) {
    if (u >= 0x20 && u < 0x7F) {
      os << static_cast<char>(u);
    } else {
      os << "\\u" << std::hex << std::setw(4) << std::setfill('0') << static_cast<unsigned>(u) << std::dec;
    }
  }
  return os.str();
}

std::string Describe(const std::vector<Step>& steps) {
  std::ostringstream os;
  for (std::size_t i = 0; i < steps.size() && i < 40; ++i) os << steps[i] << ' ';
  if (steps.size() > 40) os << "... (" << steps.size() << " steps)";
  return os.str();
}

// Where two step lists first part.
std::string FirstDifference(const std::vector<Step>& got, const std::vector<Step>& want) {
  std::size_t i = 0;
  while (i < got.size() && i < want.size() && got[i] == want[i]) ++i;
  std::ostringstream os;
  os << "first difference at step " << i << " of " << got.size() << " posted, " << want.size() << " expected: ";
  if (i < got.size()) os << "posted " << got[i] << ' ';
  if (i < want.size()) os << "expected " << want[i];
  return os.str();
}

}  // namespace

std::string RunSendCase(const std::uint8_t* data, std::size_t size, CaseStats* stats) {
  Bytes in(data, size);
  Setup s;
  s.getline_terminator = in.Flip();
  const ModeOption options[] = {ModeOption::AAOpt, ModeOption::SAKASAOpt, ModeOption::DEFAULTOpt};
  s.option = options[in.Below(3)];
  for (const CheckBox box : {CheckBox::SendNow, CheckBox::Limit, CheckBox::PlusCheck, CheckBox::BeforePlusCheck,
                             CheckBox::AfterPlusCheck}) {
    s.checks[box] = in.Flip() ? 1 : 0;
  }
  s.wait = RandomWait(in);
  s.word = RandomText(in, 4, false);

  testing::SendDesk d;
  // Half of the sends go to a live chat or Messenger window, the others to any target.
  const auto target = static_cast<Target>(in.Flip() ? in.Below(2) : in.Below(static_cast<std::size_t>(Target::kCount)));
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
  if (in.Flip()) t.TargetIsMessenger = !t.TargetIsMessenger;
  s.message = RandomText(in, 40, true);

  const TargetWindows before = t;
  const std::u16string status_before = d.window.status();
  for (const Handle h : gone) d.desktop.Destroy(h);
  // A receiver that takes `n` posts and then nothing more.
  for (const auto& [h, n] : quota) d.desktop.SetReceiver({h}, n, 0);
  const Outcome got = Drive(d, s, t);

  // What the rules give.
  const auto mode = s.option == ModeOption::AAOpt       ? SendMode::kLines
                    : s.option == ModeOption::SAKASAOpt ? SendMode::kLinesReversed
                                                        : SendMode::kSingleReversed;
  const std::vector<std::u16string> lines = SplitAtLineBreaks(s.message);
  const bool plus = s.checks[CheckBox::PlusCheck] == 1 && !s.word.empty();
  const bool header = plus && s.checks[CheckBox::BeforePlusCheck] == 1;
  const bool footer = plus && s.checks[CheckBox::AfterPlusCheck] == 1;
  const bool sendable = Sendable(s.message);
  bool overlong = false;
  for (const auto& line : lines) overlong = overlong || (sendable && ByteLength(line) > 65533);

  std::u16string refusal;
  if (s.message.empty()) {
    refusal = u"文字を入力してください";
  } else if (!t.TargetEdit) {
    refusal = u"ウィンドウが選択されていません";
  } else if (!sendable || ((header || footer) && !Sendable(s.word))) {
    refusal = u"送信できない文字が含まれています";
  } else if (mode != SendMode::kSingleReversed && overlong) {
    refusal = u"1行が長すぎて送信できません";
  } else if (!t.TargetIsMessenger && lines.size() > 4 && s.checks[CheckBox::Limit] == 0) {
    refusal = u"4行以上は無視になります";
  } else if (mode == SendMode::kSingleReversed && lines.size() > 1) {
    refusal = u"単一行じゃないのれす";
  } else if (!t.TargetHost && (mode != SendMode::kSingleReversed || s.checks[CheckBox::SendNow] == 1)) {
    refusal = u"送信先のウィンドウが見つかりません";
  }

  // The posts and sleeps the rules give, before any post fails.
  std::vector<Step> calls;
  const auto chars = [&](std::u16string_view text) {
    for (const char16_t u : text) calls.push_back({Step::Kind::kChar, Book().code[u], t.TargetEdit, true});
  };
  const bool button_alive = t.TargetSendButton && std::find(gone.begin(), gone.end(), t.TargetSendButton) == gone.end();
  const int id = !button_alive ? 0 : t.TargetSendButton == d.chat.TargetSendButton ? testing::kChatButtonId : 1;
  const Step press{Step::Kind::kPress, id, t.TargetHost, true};
  if (refusal.empty()) {
    for (const auto& line : mode == SendMode::kSingleReversed ? std::vector<std::u16string>{s.message} : lines) {
      if (header) chars(s.word);
      chars(mode == SendMode::kLines           ? Cut(AsRead(line))
            : mode == SendMode::kLinesReversed ? Reversed(Cut(AsRead(line)))
                                               : Reversed(line));
      if (footer) chars(s.word);
      if (mode != SendMode::kSingleReversed) {
        calls.push_back({Step::Kind::kSleep, Delay(s.wait), kNoWindow, true});
        calls.push_back(press);
      } else if (s.checks[CheckBox::SendNow] == 1) {
        calls.push_back(press);
      }
    }
  }

  // Which post fails first, by the windows' state. A full queue that never empties is
  // tried again every 10 ms for ten seconds; every failure says how many lines went out.
  std::vector<Step> expected;
  std::size_t presses = 0;
  std::size_t lines_said = 0;
  for (Step c : calls) {
    bool full = false;
    if (c.kind != Step::Kind::kSleep) {
      c.ok = c.window && std::find(gone.begin(), gone.end(), c.window) == gone.end();
      full = c.ok && quota.count(c.window) && quota[c.window]-- == 0;
      c.ok = c.ok && !full;
    }
    expected.push_back(c);
    if (c.ok) {
      if (c.kind == Step::Kind::kPress) ++presses;
      continue;
    }
    for (int i = 0; full && i < 1000; ++i) {
      expected.push_back({Step::Kind::kSleep, 10, kNoWindow, true});
      expected.push_back(c);
    }
    const std::size_t total = mode == SendMode::kSingleReversed ? 1 : lines.size();
    refusal = std::u16string(full ? u"送信先が応答しません" : u"送信先が見つかりません") + u"（" +
              Decimal(presses) + u"/" + Decimal(total) + u"行済み）";
    // Modes 1 and 2 keep only the lines not yet said.
    if (mode != SendMode::kSingleReversed) lines_said = presses;
    break;
  }

  if (stats) {
    ++stats->cases;
    // Failures by their reason, without how far the send got.
    ++stats->outcomes[refusal.substr(0, refusal.find(u'（'))];
    stats->posts += expected.size();
    for (const char16_t u : s.message) {
      if (u >= 0xD800 && u <= 0xDFFF) ++stats->surrogates;
      if (!HasCode(u) && !(u >= 0xD800 && u <= 0xDFFF)) ++stats->without_code;
      if (u < 0x20 && u != u'\r' && u != u'\n') ++stats->controls;
    }
    for (const Step& c : expected) {
      if (c.kind == Step::Kind::kChar && c.value < 0 && (c.value & 0xFF00) >= 0xE000) ++stats->high_lead_posts;
    }
    for (const auto& line : lines) {
      if (!sendable) break;
      const std::size_t n = ByteLength(line);
      if (n >= 998 && n <= 1002) ++stats->near_line_buffer;
      if (n >= 65532 && n <= 65535) ++stats->near_longest_line;
    }
  }

  // Compare.
  std::ostringstream problems;
  if (got.steps != expected) {
    problems << FirstDifference(got.steps, expected) << "\nposted: " << Describe(got.steps)
             << "\nexpected: " << Describe(expected) << '\n';
  }
  if (refusal.empty()) {
    if (got.status != status_before) problems << "status changed by a send that went through\n";
    if (!got.message.empty()) problems << "message not emptied after a send\n";
  } else {
    if (got.status != refusal) problems << "wrong status line\n";
    // The text stays, with its line breaks as CR LF once the command looked at them.
    const bool looked = !s.message.empty() && t.TargetEdit;
    const std::vector<std::u16string> left(lines.begin() + static_cast<std::ptrdiff_t>(lines_said), lines.end());
    if (got.message != (looked ? JoinWithCrLf(left) : s.message)) problems << "message text lost\n";
  }
  if (!(t == before)) problems << "targets changed\n";
  const std::string out = problems.str();
  if (out.empty()) return out;
  return out + "mode " + std::to_string(static_cast<int>(mode)) + ", target kind " +
         std::to_string(static_cast<int>(target)) + ", lines " + std::to_string(lines.size()) + ", wait \"" +
         Escaped(s.wait) + "\"";
}

}  // namespace kakehashi::fuzz
