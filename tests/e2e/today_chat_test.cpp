// Today's chat of the practice chat program under Wine: keys typed into the window in front,
// characters and Enter posted to its input box, and a click posted to its parent each send
// the box's line once, surrogate pairs and all, and the log carries it unit for unit.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "forms/win32_text.h"
#include "practice_chat_ids.h"
#include "support/standin_log.h"
#include "ui_driver/ui_driver.h"

namespace {

namespace ui = kakehashi::ui;
using kakehashi::ToWide;
using kakehashi::testing::StandinRecord;

// practice_chat.exe with only today's chat, logging to a file of its own.
struct TodayChat {
  TodayChat()
      : log_path(LogPath()),
        process(ui::WindowsPath(PRACTICE_CHAT_EXE_PATH),
                L"--today --log \"" + std::wstring(log_path.begin(), log_path.end()) + L"\"") {}
  ~TodayChat() {
    process.Terminate();
    DeleteFileA(log_path.c_str());
  }

  static std::string LogPath() {
    char dir[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, dir);
    return std::string(dir) + "today_chat_" + std::to_string(GetCurrentProcessId()) + ".log";
  }

  // The log as lines sent by today's chat; any other record shows as a mark.
  std::vector<std::wstring> Sent() const {
    int bad = 0;
    std::vector<std::wstring> lines;
    for (const StandinRecord& r : kakehashi::testing::ReadStandinLog(log_path, &bad)) {
      lines.push_back(r.role == kakehashi::testing::kRoleToday && r.line ? ToWide(*r.line) : L"(other)");
    }
    if (bad > 0) lines.push_back(L"(bad line)");
    return lines;
  }

  std::string log_path;
  ui::Process process;
};

enum class Typing { Keys, PostedChars };
enum class Enter { Key, PostedKey, PostedClick };

TEST(TodayChat, EveryWayOfTypingAndSendingGivesTheLineOnceAndWhole) {
  TodayChat chat;
  ASSERT_TRUE(chat.process.started());
  const HWND window = chat.process.WaitForWindowOfClass(ToWide(practice_chat::kTodayClass));
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(ui::Text(window), ToWide(practice_chat::kTodayTitle));
  const HWND transcript = ui::FindControlByClass(window, L"Edit", 0);
  const HWND input = ui::FindControlByClass(window, L"Edit", 1);
  const HWND button = ui::FindControl(window, practice_chat::kTodaySendButtonId);
  ASSERT_TRUE(transcript && input && button);
  EXPECT_TRUE(IsWindowUnicode(input));
  EXPECT_EQ(GetParent(button), window);

  const auto type = [&](Typing typing, const std::wstring& text) {
    if (typing == Typing::Keys) return ui::TypeText(text);  // one SendInput, a pair's units in it
    for (const wchar_t unit : text) PostMessageW(input, WM_CHAR, unit, 1);
  };
  const auto enter = [&](Enter way) {
    switch (way) {
      case Enter::Key: return ui::PressKey(VK_RETURN);
      case Enter::PostedKey:
        PostMessageW(input, WM_KEYDOWN, VK_RETURN, 0x001C0001);
        PostMessageW(input, WM_KEYUP, VK_RETURN, static_cast<LPARAM>(0xC01C0001));
        return;
      case Enter::PostedClick:
        PostMessageW(GetParent(button), WM_COMMAND, MAKEWPARAM(practice_chat::kTodaySendButtonId, BN_CLICKED),
                     reinterpret_cast<LPARAM>(button));
        return;
    }
  };
  ASSERT_TRUE(ui::BringToFront(window));
  ASSERT_TRUE(ui::WaitUntil([&] { return ui::FocusedWindow(window) == input; }));

  struct Case {
    std::wstring text;
    Typing typing;
    Enter enter;
  };
  const Case cases[] = {
      {L"あ👍🏽A", Typing::Keys, Enter::Key},
      {L"い😀B", Typing::PostedChars, Enter::PostedKey},
      {L" う\"🎌\\C ", Typing::PostedChars, Enter::PostedClick},
  };
  std::vector<std::wstring> sent;
  std::wstring shown;
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.enter));
    type(c.typing, c.text);
    // Every unit is in the box, and nothing that the Enter before left behind.
    ASSERT_TRUE(ui::WaitUntil([&] { return ui::Text(input) == c.text; })) << ui::Text(input).size();
    enter(c.enter);
    sent.push_back(c.text);
    EXPECT_TRUE(ui::WaitUntil([&] { return chat.Sent() == sent; })) << chat.Sent().size();
    EXPECT_TRUE(ui::WaitUntil([&] { return ui::Text(input).empty(); }));
    shown += (shown.empty() ? L"" : L"\r\n") + ToWide(practice_chat::kOwnLinePrefix) + c.text;
  }
  EXPECT_EQ(ui::Text(transcript), shown);

  // With the box empty, no way of sending logs anything. The keys of a last line come behind
  // the typed Enter (and posted messages go before typed keys): once it is in, all are handled.
  enter(Enter::PostedKey);
  enter(Enter::PostedClick);
  enter(Enter::Key);
  type(Typing::Keys, L"終");
  enter(Enter::Key);
  sent.push_back(L"終");
  EXPECT_TRUE(ui::WaitUntil([&] { return chat.Sent() == sent; })) << chat.Sent().size();
  EXPECT_TRUE(ui::WaitUntil([&] { return ui::Text(input).empty(); }));

  // Its thread ends the program with its window.
  ui::Close(window);
  EXPECT_TRUE(chat.process.WaitForExit());
  EXPECT_EQ(chat.process.ExitCode(), 0u);
}

}  // namespace
