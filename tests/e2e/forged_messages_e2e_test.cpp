// Messages any program can post or send to the tool's main window, with made-up
// parameters, idle and during a send under Wine: the tool neither crashes nor hangs, and
// they neither start nor end a send.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text/text_shaping.h"
#include "forms/control_ids.h"
#include "forms/win32_text.h"
#include "practice_chat_ids.h"
#include "support/standin_log.h"
#include "ui_driver/ui_driver.h"

namespace kakehashi::testing {
namespace {

using C = ControlId;

struct Record {
  std::string role;
  std::uint32_t message, wparam;
  friend bool operator==(const Record&, const Record&) = default;
  friend std::ostream& operator<<(std::ostream& os, const Record& r) {
    return os << r.role << ' ' << std::hex << r.message << ' ' << r.wparam << std::dec;
  }
};

std::vector<Record> Logged(const std::wstring& path) {
  std::vector<Record> out;
  for (const StandinRecord& r : ReadStandinLog(std::string(path.begin(), path.end()))) {
    if (r.message == 0x286 || r.message == 0x111) out.push_back({r.role, r.message, r.wparam});
  }
  return out;
}

bool Answers(HWND window) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &result) != 0;
}

// Every message of the tool's own range, and the pointer-carrying ones its windows handle,
// with each pair of parameters: none of them may be taken for a pointer, a wait or a
// command. False as soon as the window has stopped answering.
bool Forge(HWND main, bool also_send) {
  const auto own = reinterpret_cast<UINT_PTR>(main);
  const std::vector<UINT_PTR> values = {0, 1, 2, 31, 0xDEADBEEF, own, ~UINT_PTR{0}};
  std::vector<UINT> messages = {WM_NOTIFY, WM_DPICHANGED, WM_TIMER};
  for (UINT m = WM_APP; m < WM_APP + 32; ++m) messages.push_back(m);
  for (const UINT m : messages) {
    for (const UINT_PTR wp : values) {
      for (const UINT_PTR lp : values) {
        PostMessageW(main, m, wp, static_cast<LPARAM>(lp));
        DWORD_PTR result = 0;
        // Wine: a WM_NOTIFY sent to another process fails (Windows delivers its pointer as
        // it is); the sends that fail must leave the window answering.
        if (also_send &&
            !SendMessageTimeoutW(main, m, wp, static_cast<LPARAM>(lp), SMTO_ABORTIFHUNG, 2000, &result) &&
            !Answers(main)) {
          return false;
        }
      }
    }
  }
  // Any program may write a window's user data: the tool must not take it for its object.
  SetWindowLongPtrW(main, GWLP_USERDATA, static_cast<LONG_PTR>(0xDEADBEEF));
  // A window's creation message, sent again, must not make it another object.
  CREATESTRUCTW create{};
  create.lpCreateParams = reinterpret_cast<void*>(0xDEADBEEF);
  DWORD_PTR result = 0;
  SendMessageTimeoutW(main, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&create), SMTO_ABORTIFHUNG, 2000, &result);
  return Answers(main);
}

TEST(ForgedMessagesE2e, NeitherCrashNorHangNorStartOrEndASend) {
  const std::wstring log_path = ui::WindowsPath(KAKEHASHI_E2E_LOG);
  DeleteFileW(log_path.c_str());
  ui::Process chat(ui::WindowsPath(PRACTICE_CHAT_EXE_PATH), L"--log \"" + log_path + L"\"");
  ui::Process tool(ui::KakehashiExePath());
  const HWND messenger = chat.WaitForWindow(ToWide(practice_chat::kDefaultMessengerTitle));
  const HWND main = tool.WaitForWindow(kForm1Caption);
  ASSERT_TRUE(messenger && main);
  const auto control = [&](C id) { return ui::FindControl(main, IdNumber(id)); };
  const auto status = [&] { return ui::Text(control(C::Status)); };

  // Everything ready for a send to Messenger: a forged start would have something to say.
  ASSERT_TRUE(ui::BringToFront(messenger));
  ASSERT_TRUE(ui::WaitUntil([&] { return status().rfind(L"たろう", 0) == 0; }));
  ASSERT_TRUE(ui::BringToFront(main));
  ui::Click(control(C::AAOpt));
  ui::SetText(control(C::Wait), L"300");
  const std::u16string text = u"line 1\r\nline 2\r\nline 3\r\nline 4\r\nline 5\r\nline 6\r\nline 7\r\nline 8";
  ui::SetText(control(C::Message), ToWide(text));

  ASSERT_TRUE(Forge(main, true));
  // Posted messages to one thread come in order: once this selection shows, the forged
  // posts before it have been handled.
  PostMessageW(control(C::Message), EM_SETSEL, 3, 3);
  EXPECT_TRUE(ui::WaitUntil([&] {
    DWORD start = 0;
    SendMessageW(control(C::Message), EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
    return start == 3;
  }));
  ASSERT_TRUE(tool.Running());
  EXPECT_EQ(ui::Text(control(C::Send)), L"送信");
  EXPECT_EQ(ui::Text(control(C::Message)), ToWide(text));
  EXPECT_TRUE(Logged(log_path).empty());

  ui::ClickAsync(control(C::Send));
  ASSERT_TRUE(ui::WaitUntil([&] { return status().rfind(L"送信中…", 0) == 0; }));
  for (int round = 0; round < 3 && ui::Text(control(C::Send)) == L"中止"; ++round) {
    ASSERT_TRUE(Forge(main, round == 0)) << "round " << round;
  }
  EXPECT_TRUE(ui::WaitUntil([&] { return ui::Text(control(C::Send)) == L"送信"; }, 30000));
  ASSERT_TRUE(tool.Running());

  // The send ended as it would have: every line once, the box emptied, the target shown.
  std::vector<Record> expected;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find(u"\r\n", start);
    for (const std::int32_t code : LineCodes(SendMode::kLines, LineAsRead(text.substr(start, end - start)), false, false, u"")) {
      expected.push_back({std::string(kRoleMessenger), 0x286, static_cast<std::uint32_t>(code)});
    }
    expected.push_back({std::string(kRoleMessenger), 0x111, static_cast<std::uint32_t>(practice_chat::kMessengerSendButtonId)});
    if (end == std::u16string::npos) break;
    start = end + 2;
  }
  ui::WaitUntil([&] { return Logged(log_path).size() >= expected.size(); });
  Sleep(300);  // anything beyond the expected records would show up here
  EXPECT_EQ(Logged(log_path), expected);
  EXPECT_EQ(ui::Text(control(C::Message)), L"");
  EXPECT_TRUE(ui::WaitUntil([&] { return status().rfind(L"たろう", 0) == 0; }));
  EXPECT_TRUE(IsWindowEnabled(control(C::Message)));
}

}  // namespace
}  // namespace kakehashi::testing
