// The practice chat program under Wine: the window structures the tool looks for, the
// characters and presses it takes in posted order, its transcripts and its message log.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "forms/win32_text.h"
#include "practice_chat_ids.h"
#include "support/standin_log.h"
#include "ui_driver/ui_driver.h"

namespace {

using kakehashi::testing::ReadStandinLog;
using kakehashi::testing::StandinRecord;
namespace ui = kakehashi::ui;

// The codes the tool posts for `text`: one per character, its ANSI code with double-byte
// codes sign-extended from 16 bits.
std::vector<std::uint32_t> CharCodes(std::wstring_view text) {
  std::vector<std::uint32_t> codes;
  for (wchar_t c : text) {
    char bytes[4] = {};
    const int n = WideCharToMultiByte(CP_ACP, 0, &c, 1, bytes, 4, nullptr, nullptr);
    const auto b = [&](int i) { return static_cast<unsigned>(static_cast<unsigned char>(bytes[i])); };
    const unsigned code = n == 2 ? (b(0) << 8 | b(1)) : b(0);
    codes.push_back(static_cast<std::uint32_t>(static_cast<std::int32_t>(static_cast<std::int16_t>(code))));
  }
  return codes;
}

std::string TempLogPath(const char* name) {
  char dir[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, dir);
  return std::string(dir) + name + std::to_string(GetCurrentProcessId()) + ".log";
}

// The practice chat program, started with `arguments` and logging to a file of its own.
struct PracticeChat {
  explicit PracticeChat(const std::wstring& arguments, const char* log_name = "practice_chat_")
      : log_path(TempLogPath(log_name)),
        process(ui::WindowsPath(PRACTICE_CHAT_EXE_PATH), arguments + L" --log \"" + ToWide(log_path) + L"\"") {}

  ~PracticeChat() {
    process.Terminate();
    DeleteFileA(log_path.c_str());
  }
  PracticeChat(const PracticeChat&) = delete;
  PracticeChat& operator=(const PracticeChat&) = delete;

  static std::wstring ToWide(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }


  std::vector<StandinRecord> Log() const { return ReadStandinLog(log_path); }

  std::string log_path;
  ui::Process process;
};

HWND FirstChild(HWND parent, const char* class_name) {
  return parent ? FindWindowExA(parent, nullptr, class_name, nullptr) : nullptr;
}

struct ChatStructure {
  HWND frame, view, page, dialog, input, edit, button;
};

// Found the way the tool finds them: first direct child of each class.
ChatStructure Walk(HWND frame) {
  ChatStructure s{frame, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};
  s.view = FirstChild(frame, "Shell DocObject View");
  s.page = FirstChild(s.view, "Internet Explorer_Server");
  s.dialog = FirstChild(s.page, "#32770");
  s.input = FirstChild(s.dialog, "ATL:3723F798");
  s.button = FirstChild(s.dialog, "SubclassButton");
  s.edit = FirstChild(s.input, "MSNChatEdit4");
  return s;
}

void PostText(HWND to, std::wstring_view text) {
  for (std::uint32_t code : CharCodes(text)) PostMessageA(to, WM_IME_CHAR, code, 0);
}

struct Entry {
  std::string role;
  std::uint32_t message, wparam;
  friend bool operator==(const Entry&, const Entry&) = default;
};

std::vector<Entry> Entries(const std::vector<StandinRecord>& records) {
  std::vector<Entry> entries;
  for (const StandinRecord& r : records) entries.push_back({r.role, r.message, r.wparam});
  return entries;
}

std::vector<Entry> Expected(const std::string& char_role, std::wstring_view text, const std::string& press_role,
                            std::uint32_t id) {
  std::vector<Entry> entries;
  for (std::uint32_t code : CharCodes(text)) entries.push_back({char_role, WM_IME_CHAR, code});
  entries.push_back({press_role, WM_COMMAND, id});
  return entries;
}

TEST(PracticeChat, ChatTakesPostedCharactersAndPressesInOrder) {
  PracticeChat chat(L"--chat");
  ASSERT_TRUE(chat.process.started());
  const HWND frame = chat.process.WaitForWindowOfClass(L"IEFrame");
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(ui::Text(frame), kakehashi::ToWide(practice_chat::kDefaultChatTitle));
  const ChatStructure s = Walk(frame);
  ASSERT_NE(s.edit, nullptr);
  ASSERT_NE(s.button, nullptr);
  EXPECT_EQ(GetParent(s.button), s.dialog);
  EXPECT_EQ(GetDlgCtrlID(s.button), practice_chat::kChatSendButtonId);
  const HWND transcript = ui::FindControlByClass(s.dialog, L"Edit");
  ASSERT_NE(transcript, nullptr);

  // Double-byte, half-width katakana and ASCII, with a press right behind the characters.
  const std::wstring first = L"こんにちはｱA　x", second = L"２行目（テスト）";
  PostText(s.edit, first);
  PostMessageA(s.dialog, WM_COMMAND, practice_chat::kChatSendButtonId, 0);
  PostText(s.edit, second);
  PostMessageA(s.dialog, WM_COMMAND, practice_chat::kChatSendButtonId, 0);
  const std::wstring expected = L"あなた: " + first + L"\r\nあなた: " + second;
  EXPECT_TRUE(ui::WaitUntil([&] { return ui::Text(transcript) == expected; })) << ui::Text(transcript).size();
  EXPECT_EQ(ui::Text(s.edit), L"");

  std::vector<Entry> want = Expected("chat-edit", first, "chat-host", practice_chat::kChatSendButtonId);
  const std::vector<Entry> more = Expected("chat-edit", second, "chat-host", practice_chat::kChatSendButtonId);
  want.insert(want.end(), more.begin(), more.end());
  const std::vector<StandinRecord> log = chat.Log();
  EXPECT_EQ(Entries(log), want);
  for (std::size_t i = 1; i < log.size(); ++i) EXPECT_LE(log[i - 1].time_ms, log[i].time_ms);

  // The send button works by mouse too.
  ui::SetText(s.edit, L"クリック");
  ui::Click(s.button);
  EXPECT_TRUE(ui::WaitUntil([&] { return ui::Text(transcript) == expected + L"\r\nあなた: クリック"; }));
}

TEST(PracticeChat, MessengerWindowTakesCharactersItselfAndPressesOnItsButtonId) {
  PracticeChat messenger(L"--messenger");
  ASSERT_TRUE(messenger.process.started());
  const HWND window = messenger.process.WaitForWindowOfClass(L"IMWindowClass");
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(ui::Text(window), kakehashi::ToWide(practice_chat::kDefaultMessengerTitle));
  const HWND button = FirstChild(window, "button");
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(ui::ClassName(button), L"Button");
  EXPECT_EQ(GetDlgCtrlID(button), practice_chat::kMessengerSendButtonId);
  const HWND transcript = ui::FindControlByClass(window, L"Edit", 0);
  const HWND input = ui::FindControlByClass(window, L"Edit", 1);
  ASSERT_NE(input, nullptr);

  const std::wstring text = L"やあ、元気？ｶﾅ";
  PostText(window, text);
  PostMessageA(window, WM_COMMAND, practice_chat::kMessengerSendButtonId, 0);
  EXPECT_TRUE(ui::WaitUntil([&] { return ui::Text(transcript) == L"あなた: " + text; }));
  EXPECT_EQ(ui::Text(input), L"");
  EXPECT_EQ(Entries(messenger.Log()), Expected("messenger", text, "messenger", practice_chat::kMessengerSendButtonId));
}

// A picture of 3,000 characters posted as fast as PostMessageA goes, then characters without
// a press: every line reaches the transcript whole and in order, the unpressed characters
// stay in the input box, and the log has every message once, in posted order.
TEST(PracticeChat, BurstOfLinesArrivesWholeInTranscriptInputAndLog) {
  const std::wstring ink = L"■□あいうｱｲab漢字　/|";
  std::vector<std::wstring> lines;
  for (int i = 0; i < 12; ++i) {
    std::wstring line;
    for (int j = 0; j < 250; ++j) line += ink[static_cast<std::size_t>(i + j * (i % 3 + 1)) % ink.size()];
    lines.push_back(line);
  }
  const std::wstring unpressed = L"まだ送らない";

  for (const bool messenger : {false, true}) {
    SCOPED_TRACE(messenger ? "messenger" : "chat");
    PracticeChat program(messenger ? L"--messenger" : L"--chat");
    ASSERT_TRUE(program.process.started());
    HWND to_chars = nullptr, to_press = nullptr, transcript = nullptr, input = nullptr;
    std::string char_role, press_role;
    std::uint32_t id = 0;
    if (messenger) {
      to_chars = to_press = program.process.WaitForWindowOfClass(L"IMWindowClass");
      transcript = ui::FindControlByClass(to_chars, L"Edit", 0);
      input = ui::FindControlByClass(to_chars, L"Edit", 1);
      char_role = press_role = "messenger";
      id = practice_chat::kMessengerSendButtonId;
    } else {
      const ChatStructure s = Walk(program.process.WaitForWindowOfClass(L"IEFrame"));
      to_chars = input = s.edit;
      to_press = s.dialog;
      transcript = ui::FindControlByClass(s.dialog, L"Edit");
      char_role = "chat-edit";
      press_role = "chat-host";
      id = practice_chat::kChatSendButtonId;
    }
    ASSERT_NE(transcript, nullptr);
    ASSERT_NE(input, nullptr);

    std::wstring expected_transcript;
    std::vector<Entry> expected_log;
    for (const std::wstring& line : lines) {
      PostText(to_chars, line);
      PostMessageA(to_press, WM_COMMAND, id, 0);
      if (!expected_transcript.empty()) expected_transcript += L"\r\n";
      expected_transcript += L"あなた: " + line;
      const std::vector<Entry> more = Expected(char_role, line, press_role, id);
      expected_log.insert(expected_log.end(), more.begin(), more.end());
    }
    PostText(to_chars, unpressed);
    for (const std::uint32_t code : CharCodes(unpressed)) expected_log.push_back({char_role, WM_IME_CHAR, code});

    EXPECT_TRUE(ui::WaitUntil([&] { return ui::Text(input) == unpressed; }, 60000)) << ui::Text(input).size();
    EXPECT_EQ(ui::Text(transcript), expected_transcript);
    EXPECT_TRUE(ui::WaitUntil([&] { return program.Log().size() >= expected_log.size(); }));
    EXPECT_EQ(Entries(program.Log()), expected_log);
  }
}

// Both windows in one program, their characters and presses interleaved: the characters
// waiting for one input box and the lines waiting for one transcript never end up in the
// other's, and the log keeps the posted order across the windows.
TEST(PracticeChat, InterleavedPostsToBothWindowsStayApart) {
  PracticeChat program(L"");
  ASSERT_TRUE(program.process.started());
  const ChatStructure chat = Walk(program.process.WaitForWindowOfClass(L"IEFrame"));
  const HWND messenger = program.process.WaitForWindowOfClass(L"IMWindowClass");
  ASSERT_NE(chat.edit, nullptr);
  ASSERT_NE(messenger, nullptr);
  const HWND chat_transcript = ui::FindControlByClass(chat.dialog, L"Edit");
  const HWND messenger_transcript = ui::FindControlByClass(messenger, L"Edit", 0);
  const HWND messenger_input = ui::FindControlByClass(messenger, L"Edit", 1);
  const auto chat_press = [&] { PostMessageA(chat.dialog, WM_COMMAND, practice_chat::kChatSendButtonId, 0); };
  const auto messenger_press = [&] {
    PostMessageA(messenger, WM_COMMAND, practice_chat::kMessengerSendButtonId, 0);
  };

  PostText(chat.edit, L"あい");
  PostText(messenger, L"かき");
  messenger_press();
  PostText(chat.edit, L"う");
  PostText(messenger, L"く");
  chat_press();
  PostText(messenger, L"け");
  messenger_press();
  PostText(messenger, L"こ");

  EXPECT_TRUE(ui::WaitUntil([&] { return ui::Text(messenger_input) == L"こ"; }));
  EXPECT_EQ(ui::Text(chat_transcript), L"あなた: あいう");
  EXPECT_EQ(ui::Text(messenger_transcript), L"あなた: かき\r\nあなた: くけ");
  EXPECT_EQ(ui::Text(chat.edit), L"");
  std::vector<Entry> want;
  const auto add = [&](const std::vector<Entry>& more) { want.insert(want.end(), more.begin(), more.end()); };
  const auto chars = [](const char* role, std::wstring_view text) {
    std::vector<Entry> entries;
    for (const std::uint32_t code : CharCodes(text)) entries.push_back({role, WM_IME_CHAR, code});
    return entries;
  };
  add(chars("chat-edit", L"あい"));
  add(Expected("messenger", L"かき", "messenger", practice_chat::kMessengerSendButtonId));
  add(chars("chat-edit", L"う"));
  add(chars("messenger", L"く"));
  add({{"chat-host", WM_COMMAND, static_cast<std::uint32_t>(practice_chat::kChatSendButtonId)}});
  add(Expected("messenger", L"け", "messenger", practice_chat::kMessengerSendButtonId));
  add(chars("messenger", L"こ"));
  EXPECT_EQ(Entries(program.Log()), want);
}

}  // namespace
