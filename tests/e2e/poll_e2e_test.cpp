// The real tool and the practice chat under Wine: the chat window or the Messenger window
// in front shows its title in the tool's status line; the tool's own window changes nothing.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "forms/control_ids.h"
#include "forms/win32_text.h"
#include "practice_chat_ids.h"
#include "ui_driver/ui_driver.h"

namespace {

namespace ui = kakehashi::ui;

// The first `bytes` bytes of `title` in the ANSI code page, converted back: what the tool
// shows of a browser title.
std::wstring CutInAnsi(const std::wstring& title, int bytes) {
  char ansi[512] = {};
  const int n = WideCharToMultiByte(CP_ACP, 0, title.c_str(), static_cast<int>(title.size()), ansi, 512, nullptr, nullptr);
  wchar_t wide[512] = {};
  const int m = MultiByteToWideChar(CP_ACP, 0, ansi, n < bytes ? n : bytes, wide, 512);
  return std::wstring(wide, static_cast<std::size_t>(m));
}

TEST(PollE2e, ChatOrMessengerInFrontShowsItsTitleAndTheToolInFrontChangesNothing) {
  ui::Process tool(ui::KakehashiExePath());
  ASSERT_TRUE(tool.started());
  const HWND main = tool.WaitForWindow(kakehashi::kForm1Caption);
  ASSERT_NE(main, nullptr);
  const HWND status = ui::FindControl(main, kakehashi::IdNumber(kakehashi::ControlId::Status));
  EXPECT_TRUE(ui::WaitUntil([&] { return ui::Text(status) == L"ウィンドウが選択されていません"; }));

  ui::Process chat(ui::WindowsPath(PRACTICE_CHAT_EXE_PATH));
  ASSERT_TRUE(chat.started());
  const HWND frame = chat.WaitForWindowOfClass(L"IEFrame");
  const HWND messenger = chat.WaitForWindowOfClass(L"IMWindowClass");
  ASSERT_NE(frame, nullptr);
  ASSERT_NE(messenger, nullptr);

  // The browser title is longer than 30 bytes: the status line shows its first 30.
  const std::wstring chat_title = kakehashi::ToWide(practice_chat::kDefaultChatTitle);
  const std::wstring chat_shown = CutInAnsi(chat_title, 30);
  ASSERT_LT(chat_shown.size(), chat_title.size());
  ASSERT_TRUE(ui::BringToFront(frame));
  EXPECT_TRUE(ui::WaitUntil([&] { return ui::Text(status) == chat_shown; }, 3000)) << ui::Text(status).size();

  const std::wstring messenger_title = kakehashi::ToWide(practice_chat::kDefaultMessengerTitle);
  ASSERT_TRUE(ui::BringToFront(messenger));
  EXPECT_TRUE(ui::WaitUntil([&] { return ui::Text(status) == messenger_title; }, 3000));

  // With the tool in front the poll writes nothing: a text put into the status line stays.
  ASSERT_TRUE(ui::BringToFront(main));
  ui::SetText(status, L"目印");
  Sleep(600);  // six ticks of the poll
  EXPECT_EQ(ui::Text(status), L"目印");

  // Back in front, the chat window's title replaces it on the next tick.
  ASSERT_TRUE(ui::BringToFront(frame));
  EXPECT_TRUE(ui::WaitUntil([&] { return ui::Text(status) == chat_shown; }, 3000));
}

}  // namespace
