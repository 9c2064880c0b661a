// The whole road of a send under Wine: the real tool and the practice chat program, driven
// as a user would; what the chat program logs is compared code for code with the rules.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "delivery/delay.h"
#include "text/text_shaping.h"
#include "forms/control_ids.h"
#include "forms/win32_text.h"
#include "practice_chat_ids.h"
#include "support/standin_log.h"
#include "ui_driver/ui_driver.h"

namespace kakehashi::testing {
namespace {


struct Expected {
  std::string role;
  std::uint32_t message;
  std::uint32_t wparam;
  friend bool operator==(const Expected&, const Expected&) = default;
  friend std::ostream& operator<<(std::ostream& os, const Expected& e) {
    return os << e.role << ' ' << std::hex << e.message << ' ' << e.wparam << std::dec;
  }
};

// The tool and the practice chat, started once for all the tests of this file.
class SendEndToEnd : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    log_path_ = ui::WindowsPath(KAKEHASHI_E2E_LOG);
    DeleteFileW(log_path_.c_str());
    chat_ = std::make_unique<ui::Process>(ui::WindowsPath(PRACTICE_CHAT_EXE_PATH), L"--log \"" + log_path_ + L"\"");
    tool_ = std::make_unique<ui::Process>(ui::KakehashiExePath());
  }
  static void TearDownTestSuite() {
    tool_.reset();
    chat_.reset();
  }

  void SetUp() override {
    ASSERT_TRUE(chat_->started() && tool_->started());
    chat_window_ = chat_->WaitForWindow(kakehashi::ToWide(practice_chat::kDefaultChatTitle));
    messenger_window_ = chat_->WaitForWindow(kakehashi::ToWide(practice_chat::kDefaultMessengerTitle));
    main_ = tool_->WaitForWindow(kForm1Caption);
    ASSERT_TRUE(chat_window_ && messenger_window_ && main_);
  }

  HWND Control(ControlId id) const { return ui::FindControl(main_, IdNumber(id)); }
  std::wstring Status() const { return ui::Text(Control(ControlId::Status)); }

  void SetCheck(ControlId id, bool ticked) {
    if ((ui::CheckState(Control(id)) == BST_CHECKED) != ticked) ui::Click(Control(id));
  }

  // Brings the chat window to the front until the tool's poll shows its title, then
  // returns to the tool, as the user does.
  void ChooseTarget(bool messenger) {
    const HWND target = messenger ? messenger_window_ : chat_window_;
    const std::wstring title_start = messenger ? L"たろう" : L"MSNチャット";
    ui::SetText(Control(ControlId::Status), L"");
    ASSERT_TRUE(ui::BringToFront(target));
    ASSERT_TRUE(ui::WaitUntil([&] { return Status().rfind(title_start, 0) == 0; })) << "status: " << Status().size();
    ASSERT_TRUE(ui::BringToFront(main_));
  }

  struct Setup {
    ControlId option = ControlId::AAOpt;
    bool send_now = false;  // only mode 3 leaves it to the user
    bool header = false, footer = false;
    std::u16string plus_word = u"(^。^)";
    std::u16string wait = u"0";
    bool limit = false;
  };

  void Configure(const Setup& s, std::u16string_view message) {
    ui::Click(Control(s.option));
    if (s.option == ControlId::DEFAULTOpt) SetCheck(ControlId::SendNow, s.send_now);
    SetCheck(ControlId::Limit, s.limit);
    SetCheck(ControlId::PlusCheck, s.header || s.footer);
    SetCheck(ControlId::BeforePlusCheck, s.header);
    SetCheck(ControlId::AfterPlusCheck, s.footer);
    ui::SetText(Control(ControlId::PlusWord), kakehashi::ToWide(s.plus_word));
    ui::SetText(Control(ControlId::Wait), kakehashi::ToWide(s.wait));
    ui::SetText(Control(ControlId::Message), kakehashi::ToWide(message));
  }

  std::vector<StandinRecord> Log() const {
    const std::string path(log_path_.begin(), log_path_.end());
    std::vector<StandinRecord> kept;
    for (const StandinRecord& r : ReadStandinLog(path)) {
      if (r.message == 0x286 || r.message == 0x111) kept.push_back(r);
    }
    return kept;
  }

  // Presses Send and waits until the chat program has logged `count` more records.
  std::vector<StandinRecord> SendAndCollect(std::size_t count) {
    const std::size_t before = Log().size();
    ui::Click(Control(ControlId::Send));
    std::vector<StandinRecord> records;
    ui::WaitUntil([&] { return Log().size() >= before + count; });
    ::Sleep(200);  // anything beyond the expected records would show up here
    records = Log();
    records.erase(records.begin(), records.begin() + static_cast<std::ptrdiff_t>(std::min(before, records.size())));
    return records;
  }

  static std::vector<Expected> Plain(const std::vector<StandinRecord>& records) {
    std::vector<Expected> out;
    for (const StandinRecord& r : records) out.push_back({r.role, r.message, r.wparam});
    return out;
  }

  // What the rules give for `message` with the settings `s`.
  static std::vector<Expected> Rules(const Setup& s, std::u16string_view message, bool messenger) {
    const std::string edit(messenger ? kRoleMessenger : kRoleChatEdit);
    const std::string host(messenger ? kRoleMessenger : kRoleChatHost);
    const auto id = static_cast<std::uint32_t>(messenger ? practice_chat::kMessengerSendButtonId
                                                          : practice_chat::kChatSendButtonId);
    const SendMode mode = s.option == ControlId::AAOpt       ? SendMode::kLines
                          : s.option == ControlId::SAKASAOpt ? SendMode::kLinesReversed
                                                             : SendMode::kSingleReversed;
    std::vector<Expected> out;
    const auto line = [&](std::u16string_view text, bool press) {
      for (const std::int32_t code : LineCodes(mode, text, s.header, s.footer, s.plus_word)) {
        out.push_back({edit, 0x286, static_cast<std::uint32_t>(code)});
      }
      if (press) out.push_back({host, 0x111, id});
    };
    if (mode == SendMode::kSingleReversed) {
      line(message, s.send_now);
      return out;
    }
    std::size_t start = 0;
    for (;;) {
      const std::size_t at = message.find(u"\r\n", start);
      line(LineAsRead(message.substr(start, at - start)), true);
      if (at == std::u16string_view::npos) break;
      start = at + 2;
    }
    return out;
  }

  void ExpectDelivered(const Setup& s, std::u16string_view message, bool messenger) {
    ChooseTarget(messenger);
    Configure(s, message);
    const std::vector<Expected> expected = Rules(s, message, messenger);
    const std::vector<StandinRecord> got = SendAndCollect(expected.size());
    EXPECT_EQ(Plain(got), expected);
    EXPECT_EQ(ui::Text(Control(ControlId::Message)), L"") << "the box is emptied after a send";
    last_records_ = got;
  }

  static inline std::wstring log_path_;
  static inline std::unique_ptr<ui::Process> chat_, tool_;
  HWND chat_window_ = nullptr, messenger_window_ = nullptr, main_ = nullptr;
  std::vector<StandinRecord> last_records_;
};

TEST_F(SendEndToEnd, LineByLineToTheChatWaitsBeforeEachPress) {
  Setup s;
  s.wait = u"300";
  ExpectDelivered(s, u"あいう\r\nab  \r\nｱ\u3000x", false);
  // あ, い, う and one space, never a 0 code.
  ASSERT_GE(last_records_.size(), 4u);
  EXPECT_EQ(last_records_[0].wparam, 0xFFFF82A0u);
  EXPECT_EQ(last_records_[3].wparam, 0x20u);
  // The delay shows in the chat's own clock; receiving adds jitter, so only its presence is
  // checked here (the delay's exact length is checked on the simulated desktop).
  for (std::size_t i = 1; i < last_records_.size(); ++i) {
    if (last_records_[i].message == 0x111) {
      EXPECT_GE(last_records_[i].time_ms - last_records_[i - 1].time_ms, 150.0) << "press " << i;
    }
  }
}

TEST_F(SendEndToEnd, ReversedLinesWithHeaderAndFooter) {
  Setup s;
  s.option = ControlId::SAKASAOpt;
  s.header = s.footer = true;
  ExpectDelivered(s, u"かけはし\r\nabc\r\n", false);
}

TEST_F(SendEndToEnd, SingleLinePressesOnlyWhenAskedTo) {
  Setup s;
  s.option = ControlId::DEFAULTOpt;
  s.header = true;
  ExpectDelivered(s, u"漢字 ab ", false);
  s.send_now = true;
  ExpectDelivered(s, u"ｶﾅ　かな", false);
}

// Text pasted from web pages carries Unicode look-alikes; the real edit control, read line
// by line, must still give the code page's characters.
TEST_F(SendEndToEnd, PastedLookAlikesArriveAsTheCodePageCharacters) {
  Setup s;
  s.header = true;
  // GCC 12: assigning a one-character literal here draws a false -Wrestrict.
  s.plus_word.assign(1, u'\u2212');
  ExpectDelivered(s, u"10\u301C20時\r\n\u00A6\u2014\u2016", false);
  s.option = ControlId::DEFAULTOpt;
  s.send_now = true;
  ExpectDelivered(s, u"\u00A2\u00A3\u00AC", false);
}

TEST_F(SendEndToEnd, MessengerTakesMoreThanFourLines) {
  Setup s;
  ExpectDelivered(s, u"1\r\n2\r\n3\r\n4\r\nご", true);
}

TEST_F(SendEndToEnd, FiveLinesToTheChatAreRefused) {
  ChooseTarget(false);
  Configure(Setup{}, u"1\r\n2\r\n3\r\n4\r\n5");
  const std::size_t before = Log().size();
  ui::Click(Control(ControlId::Send));
  EXPECT_TRUE(ui::WaitUntil([&] { return Status() == L"4行以上は無視になります"; }));
  ::Sleep(500);
  EXPECT_EQ(Log().size(), before);
  EXPECT_EQ(ui::Text(Control(ControlId::Message)), L"1\r\n2\r\n3\r\n4\r\n5");
}

// A picture of `lines` lines, drawn with characters.
std::u16string Picture(int lines) {
  std::u16string text;
  for (int i = 0; i < lines; ++i) {
    if (i) text += u"\r\n";
    text += i % 2 ? u"＿／￣＼" : u"(^_^)ﾉ";
    text += static_cast<char16_t>(u'0' + i % 10);
  }
  return text;
}

std::u16string FirstLines(std::u16string_view text, int lines) {
  std::size_t end = 0;
  for (int i = 0; i < lines; ++i) end = text.find(u"\r\n", end + (i ? 2 : 0));
  return std::u16string(text.substr(0, end));
}

bool Sending(const std::wstring& status) { return status.rfind(L"送信中…", 0) == 0; }

class LongSendEndToEnd : public SendEndToEnd {
 protected:
  // Starts a send of `text` to the Messenger window without waiting for it to end.
  void StartSend(const Setup& s, std::u16string_view text) {
    ChooseTarget(true);
    Configure(s, text);
    log_before_ = Log().size();
    ui::ClickAsync(Control(ControlId::Send));
  }

  // What the chat logged since StartSend, once it holds `count` records and nothing more
  // arrives.
  std::vector<Expected> Arrived(std::size_t count) {
    ui::WaitUntil([&] { return Log().size() >= log_before_ + count; });
    ::Sleep(300);
    std::vector<StandinRecord> records = Log();
    records.erase(records.begin(), records.begin() + static_cast<std::ptrdiff_t>(std::min(log_before_, records.size())));
    return Plain(records);
  }

  // WM_NULL sent every 20 ms while `go_on` holds: how many the window answered within
  // 200 ms, and how many it did not.
  struct Pings {
    int answered = 0, missed = 0;
  };
  Pings PingWhile(const std::function<bool()>& go_on) const {
    Pings pings;
    while (go_on()) {
      DWORD_PTR result = 0;
      ++(SendMessageTimeoutW(main_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 200, &result) ? pings.answered : pings.missed);
      ::Sleep(20);
    }
    return pings;
  }

  std::size_t log_before_ = 0;
};

TEST_F(LongSendEndToEnd, TheWindowAnswersThroughoutAndShowsProgress) {
  Setup s;
  s.wait = u"300";
  const std::u16string text = Picture(12);
  StartSend(s, text);
  ASSERT_TRUE(ui::WaitUntil([&] { return Sending(Status()); }));
  EXPECT_EQ(ui::Text(Control(ControlId::Send)), L"中止");
  for (const ControlId id : {ControlId::Message, ControlId::Wait, ControlId::AAOpt, ControlId::PlusWord}) {
    EXPECT_FALSE(IsWindowEnabled(Control(id))) << "locked during the send: " << IdNumber(id);
    // The lock keeps each control's own WS_VISIBLE (PlusWord's frame is hidden).
    EXPECT_TRUE(GetWindowLongPtrW(Control(id), GWL_STYLE) & WS_VISIBLE) << "and still shown: " << IdNumber(id);
  }
  // The help window opens during the send.
  ui::PostMenuCommand(main_, IdNumber(ControlId::Menu));
  const HWND tip = tool_->WaitForWindow(L"ﾜﾝﾎﾟｲﾝﾄ");
  EXPECT_NE(tip, nullptr);

  std::wstring progress;
  const Pings pings = PingWhile([&] {
    const std::wstring status = Status();
    if (Sending(status)) progress = status;
    return Sending(status);
  });
  EXPECT_EQ(pings.missed, 0) << "answered " << pings.answered;
  EXPECT_GT(pings.answered, 20);
  // The last progress shown: during the last delay, or for a moment after the last press.
  EXPECT_TRUE(progress == L"送信中… 11/12行" || progress == L"送信中… 12/12行") << progress.size();

  EXPECT_EQ(Arrived(Rules(s, text, true).size()), Rules(s, text, true));
  EXPECT_EQ(ui::Text(Control(ControlId::Send)), L"送信");
  EXPECT_TRUE(IsWindowEnabled(Control(ControlId::Message)));
  EXPECT_EQ(ui::Text(Control(ControlId::Message)), L"");
  EXPECT_EQ(Status().rfind(L"たろう", 0), 0u) << "a send that went through shows the target again";
  if (tip) ui::Close(tip);
}

TEST_F(LongSendEndToEnd, StopDuringLineThreeSendsWholeLinesOnly) {
  Setup s;
  s.wait = u"1000";
  const std::u16string text = Picture(12);
  StartSend(s, text);
  ASSERT_TRUE(ui::WaitUntil([&] { return Status() == L"送信中… 2/12行"; }, 30000));
  ui::Click(Control(ControlId::Send));
  EXPECT_TRUE(ui::WaitUntil([&] { return Status() == L"3/12行で中止（残り9行）"; }));
  const std::vector<Expected> expected = Rules(s, FirstLines(text, 3), true);
  EXPECT_EQ(Arrived(expected.size()), expected);
  EXPECT_EQ(ui::Text(Control(ControlId::Send)), L"送信");

  // The box keeps the nine lines not yet said; one undo brings the whole text back, and
  // a second undo the nine lines again.
  const HWND box = Control(ControlId::Message);
  const std::u16string rest = text.substr(FirstLines(text, 3).size() + 2);
  EXPECT_EQ(ui::Text(box), kakehashi::ToWide(rest));
  SendMessageW(box, EM_UNDO, 0, 0);
  EXPECT_EQ(ui::Text(box), kakehashi::ToWide(text));
  SendMessageW(box, EM_UNDO, 0, 0);
  ASSERT_EQ(ui::Text(box), kakehashi::ToWide(rest));

  // Sending again goes on with line 4, and the stop's result does not outlive it.
  ui::SetText(Control(ControlId::Wait), L"0");
  s.wait = u"0";
  log_before_ = Log().size();
  ui::Click(Control(ControlId::Send));
  EXPECT_EQ(Arrived(Rules(s, rest, true).size()), Rules(s, rest, true));
  EXPECT_TRUE(ui::WaitUntil([&] { return Status().rfind(L"たろう", 0) == 0; })) << "status: " << Status().size();
}

// Windows runs its own message loop for a menu and for a window move; the send goes on
// through both, and the window keeps answering.
TEST_F(LongSendEndToEnd, MenusAndMovesDoNotHoldTheSend) {
  Setup s;
  s.wait = u"100";
  const std::u16string text = Picture(30);
  StartSend(s, text);
  ASSERT_TRUE(ui::WaitUntil([&] { return Status() == L"送信中… 1/30行"; }, 30000));
  const DWORD thread = GetWindowThreadProcessId(main_, nullptr);
  const auto in_menu = [&] {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(thread, &info) && (info.flags & GUI_INMENUMODE) != 0;
  };
  // Alt tapped: the menu bar takes the keyboard until Esc.
  PostMessageW(main_, WM_SYSCOMMAND, SC_KEYMENU, 0);
  ASSERT_TRUE(ui::WaitUntil(in_menu));
  std::size_t logged = Log().size();
  const std::wstring progress = Status();
  ::Sleep(700);
  EXPECT_TRUE(in_menu()) << "still in the menu";
  EXPECT_GT(Log().size(), logged + 10) << "posts go on in menu mode";
  EXPECT_NE(Status(), progress) << "progress goes on in menu mode";
  PostMessageW(main_, WM_CANCELMODE, 0, 0);
  ASSERT_TRUE(ui::WaitUntil([&] { return !in_menu(); }));

  // The caption held down with the mouse: the move loop runs until the button is released.
  RECT frame{};
  GetWindowRect(main_, &frame);
  SetCursorPos(frame.left + 60, frame.top + GetSystemMetrics(SM_CYCAPTION) / 2 + 2);
  INPUT down{};
  down.type = INPUT_MOUSE;
  down.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  SendInput(1, &down, sizeof down);
  ::Sleep(200);
  logged = Log().size();
  int rounds = 0;
  EXPECT_EQ(PingWhile([&] { return ++rounds <= 20; }).missed, 0);
  EXPECT_GT(Log().size(), logged + 10) << "posts go on while the caption is held";
  INPUT up = down;
  up.mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(1, &up, sizeof up);

  EXPECT_EQ(Arrived(Rules(s, text, true).size()), Rules(s, text, true));
  EXPECT_TRUE(ui::WaitUntil([&] { return ui::Text(Control(ControlId::Send)) == L"送信"; }, 30000));
}

// A single line is posted with no pause at all; the window answers all through it.
TEST_F(LongSendEndToEnd, TheWindowAnswersThroughALongSingleLine) {
  Setup s;
  s.option = ControlId::DEFAULTOpt;
  s.send_now = true;
  const std::u16string text(100000, u'a');
  StartSend(s, text);
  bool first = true;
  const Pings pings = PingWhile([&] {
    const bool go_on = first || ui::Text(Control(ControlId::Send)) != L"送信";
    first = false;
    return go_on;
  });
  EXPECT_EQ(pings.missed, 0) << "answered " << pings.answered;
  EXPECT_EQ(Arrived(text.size() + 1).size(), text.size() + 1);
}

// A push button takes the second click of a double-click as a second press: it must not
// stop the send it started.
TEST_F(LongSendEndToEnd, ADoubleClickSendsEveryLineOnce) {
  Setup s;
  s.wait = u"50";
  const std::u16string text = Picture(6);
  ChooseTarget(true);
  Configure(s, text);
  log_before_ = Log().size();
  const HWND send = Control(ControlId::Send);
  const LPARAM at = MAKELPARAM(5, 5);
  for (const UINT msg : {UINT{WM_LBUTTONDOWN}, UINT{WM_LBUTTONUP}, UINT{WM_LBUTTONDBLCLK}, UINT{WM_LBUTTONUP}}) {
    PostMessageW(send, msg, msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, at);
  }
  EXPECT_EQ(Arrived(Rules(s, text, true).size()), Rules(s, text, true));
  EXPECT_TRUE(ui::WaitUntil([&] { return Status().rfind(L"たろう", 0) == 0; })) << "not stopped";
}

// A quit message (the system ending the session, or another program) during a send stops
// it at the end of its line and ends the program once it has.
TEST_F(LongSendEndToEnd, AQuitMessageStopsTheSendAndThenEnds) {
  Setup s;
  s.wait = u"1000";
  const std::u16string text = Picture(12);
  StartSend(s, text);
  ASSERT_TRUE(ui::WaitUntil([&] { return Status() == L"送信中… 1/12行"; }, 30000));
  PostThreadMessageW(GetWindowThreadProcessId(main_, nullptr), WM_QUIT, 7, 0);
  EXPECT_TRUE(tool_->WaitForExit());
  EXPECT_EQ(tool_->ExitCode(), 7u);
  const std::vector<Expected> expected = Rules(s, FirstLines(text, 2), true);
  EXPECT_EQ(Arrived(expected.size()), expected);
  tool_ = std::make_unique<ui::Process>(ui::KakehashiExePath());
}

TEST_F(LongSendEndToEnd, ClosingTheWindowStopsTheSendAndThenCloses) {
  Setup s;
  s.wait = u"1000";
  const std::u16string text = Picture(12);
  StartSend(s, text);
  ASSERT_TRUE(ui::WaitUntil([&] { return Status() == L"送信中… 1/12行"; }, 30000));
  ui::Close(main_);
  EXPECT_TRUE(ui::WaitForGone(main_));
  EXPECT_TRUE(tool_->WaitForExit());
  EXPECT_EQ(tool_->ExitCode(), 0u);
  const std::vector<Expected> expected = Rules(s, FirstLines(text, 2), true);
  EXPECT_EQ(Arrived(expected.size()), expected);
  // A new tool for the tests that follow.
  tool_ = std::make_unique<ui::Process>(ui::KakehashiExePath());
}

}  // namespace
}  // namespace kakehashi::testing
