// Today's targets end to end under Wine: keystrokes into Wine's own Notepad and the
// practice chat's today's chat, and background posts to a picked window, chosen in the
// 送信先 window as a user does.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "text/text_shaping.h"
#include "forms/control_ids.h"
#include "forms/win32_text.h"
#include "practice_chat_ids.h"
#include "support/clipboard_content.h"
#include "support/standin_log.h"
#include "ui_driver/ui_driver.h"

namespace kakehashi::testing {
namespace {

using C = ControlId;

class TargetKindsEndToEnd : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    log_path_ = ui::WindowsPath(KAKEHASHI_E2E_LOG);
    DeleteFileW(log_path_.c_str());
    chat_ = std::make_unique<ui::Process>(ui::WindowsPath(PRACTICE_CHAT_EXE_PATH), L"--log \"" + log_path_ + L"\"");
    notepad_ = std::make_unique<ui::Process>(L"C:\\windows\\system32\\notepad.exe");
    tool_ = std::make_unique<ui::Process>(ui::KakehashiExePath());
  }
  static void TearDownTestSuite() {
    tool_.reset();
    notepad_.reset();
    chat_.reset();
  }

  void SetUp() override {
    ASSERT_TRUE(chat_->started() && notepad_->started() && tool_->started());
    main_ = tool_->WaitForWindow(kForm1Caption);
    today_ = chat_->WaitForWindowOfClass(ToWide(practice_chat::kTodayClass));
    notepad_window_ = notepad_->WaitForWindowOfClass(L"Notepad");
    ASSERT_TRUE(main_ && today_ && notepad_window_);
    notepad_edit_ = ui::FindControlByClass(notepad_window_, L"Edit");
    today_edit_ = ui::FindControlByClass(today_, L"Edit", 1);  // below its transcript
    ASSERT_TRUE(notepad_edit_ && today_edit_);
    ui::SetText(notepad_edit_, L"");
  }

  HWND Control(C id) const { return ui::FindControl(main_, IdNumber(id)); }
  std::wstring Status() const { return ui::Text(Control(C::Status)); }

  // The 送信先 window, opened from the menu.
  HWND TargetWindow() {
    ui::PostMenuCommand(main_, IdNumber(C::TargetMenu));
    return tool_->WaitForWindow(L"送信先の設定");
  }
  HWND InTarget(HWND window, C id) const { return ui::FindControl(window, IdNumber(id)); }

  // `way`: how the window in front gets a line, for keystrokes.
  void ChooseKind(C option, C way = C::TargetTypeOpt) {
    const HWND w = TargetWindow();
    ASSERT_NE(w, nullptr);
    ui::Click(InTarget(w, option));
    if (option == C::TargetKeysOpt) ui::Click(InTarget(w, way));
    ui::Close(w);
    ASSERT_TRUE(ui::WaitForGone(w));
  }

  // Brings `window` to the front until the poll shows it, then returns to the tool. After a
  // send that did not go through, the poll keeps its target until it has seen the tool in
  // front, and it looks every 100 ms: the tool comes to the front first, and again until
  // the poll shows `window`.
  void ChooseFront(HWND window) {
    const std::wstring caption = ui::Text(window);
    bool shown = false;
    for (int attempt = 0; attempt < 5 && !shown; ++attempt) {
      ASSERT_TRUE(ui::BringToFront(main_));
      ::Sleep(150);
      ui::SetText(Control(C::Status), L"");
      ASSERT_TRUE(ui::BringToFront(window));
      shown = ui::WaitUntil([&] { return Status().rfind(caption.substr(0, 4), 0) == 0; }, 2000);
    }
    ASSERT_TRUE(shown) << Status();
    ASSERT_TRUE(ui::BringToFront(main_));
  }

  void Compose(C option, std::u16string_view text) {
    ui::Click(Control(option));
    ui::SetText(Control(C::Wait), L"0");
    ui::SetText(Control(C::Message), ToWide(text));
  }

  // Presses 送信 and waits until the send has ended.
  void SendAndWait() {
    ui::ClickAsync(Control(C::Send));
    ASSERT_TRUE(ui::WaitUntil([&] { return ui::Text(Control(C::Send)) == L"中止"; }, 5000));
    ASSERT_TRUE(ui::WaitUntil([&] { return ui::Text(Control(C::Send)) == L"送信"; }, 30000));
  }

  std::vector<StandinRecord> Log() const {
    const std::string path(log_path_.begin(), log_path_.end());
    return ReadStandinLog(path);
  }

  static inline std::wstring log_path_;
  static inline std::unique_ptr<ui::Process> chat_, notepad_, tool_;
  HWND main_ = nullptr, today_ = nullptr, notepad_window_ = nullptr, notepad_edit_ = nullptr, today_edit_ = nullptr;
};

TEST_F(TargetKindsEndToEnd, KeystrokesTypeWholeLinesIntoNotepadAndTheToolComesBack) {
  ChooseKind(C::TargetKeysOpt);
  ChooseFront(notepad_window_);
  struct Case {
    C option;
    std::u16string text, typed;
  };
  const Case cases[] = {
      {C::AAOpt, u"あいう\r\n\U0001F44D\U0001F3FDx\r\nend", u"あいう\r\n\U0001F44D\U0001F3FDx\r\nend\r\n"},
      // Reversed by user-perceived character.
      {C::SAKASAOpt, u"a\U0001F44D\U0001F3FDb\U0001F1EF\U0001F1F5\r\nか\u309Ae\u0301",
       u"\U0001F1EF\U0001F1F5b\U0001F44D\U0001F3FDa\r\ne\u0301か\u309A\r\n"},
  };
  for (const Case& c : cases) {
    ui::SetText(notepad_edit_, L"");
    Compose(c.option, c.text);
    SendAndWait();
    EXPECT_EQ(ui::Text(notepad_edit_), ToWide(c.typed));
    EXPECT_EQ(ui::Text(Control(C::Message)), L"");
    EXPECT_TRUE(ui::WaitUntil([&] { return GetForegroundWindow() == main_; })) << "the tool is in front again";
  }
}

// Shift held down or let go, as the user's hand does, through the system's input.
void HoldShift(bool down) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = VK_SHIFT;
  in.ki.dwFlags = down ? 0u : KEYEVENTF_KEYUP;
  SendInput(1, &in, sizeof in);
}

TEST_F(TargetKindsEndToEnd, KeystrokesAtFullSpeedAllArriveInAMinimizedNotepadThroughAHeldShift) {
  ChooseKind(C::TargetKeysOpt);
  ChooseFront(notepad_window_);
  // 600 characters at 文字の間隔 0, more than Wine's Notepad takes in 4 s.
  std::u16string text, typed;
  for (int i = 0; i < 12; ++i) {
    const std::u16string line = u"line" + std::u16string(1, static_cast<char16_t>(u'A' + i)) +
                                u" いろはにほへと abcdefghijklmnopqrstuvwxyz 012345678";  // 50 characters
    text += (i > 0 ? u"\r\n" : u"") + line;
    typed += line + u"\r\n";
  }
  ShowWindow(notepad_window_, SW_MINIMIZE);
  ASSERT_TRUE(ui::WaitUntil([&] { return IsIconic(notepad_window_) != FALSE; }));
  ASSERT_TRUE(ui::BringToFront(main_));
  Compose(C::AAOpt, text);
  ui::ClickAsync(Control(C::Send));
  // A third of the way in, the user holds Shift for 0.8 s: the send waits for it.
  ASSERT_TRUE(ui::WaitUntil([&] { return ui::Text(notepad_edit_).size() >= 200; }, 20000));
  HoldShift(true);
  ::Sleep(300);
  const std::size_t while_held = ui::Text(notepad_edit_).size();
  const std::wstring status_while_held = Status();
  ::Sleep(500);
  const std::size_t still_held = ui::Text(notepad_edit_).size();
  HoldShift(false);
  ASSERT_TRUE(ui::WaitUntil([&] { return ui::Text(Control(C::Send)) == L"送信"; }, 60000));
  EXPECT_EQ(still_held, while_held) << "nothing is typed while Shift is down";
  EXPECT_EQ(status_while_held, L"Shift・Ctrl・Altを離してください");
  EXPECT_EQ(ui::Text(notepad_edit_), ToWide(typed)) << "every character once, every line said once";
  EXPECT_FALSE(IsIconic(notepad_window_)) << "the minimized window was restored";
  EXPECT_EQ(ui::Text(Control(C::Message)), L"");
  EXPECT_TRUE(ui::WaitUntil([&] { return GetForegroundWindow() == main_; })) << "the tool is in front again";
}

TEST_F(TargetKindsEndToEnd, AWindowBroughtToTheFrontMidwayStopsTheSendAndGetsNothing) {
  ChooseKind(C::TargetKeysOpt);
  const HWND w = TargetWindow();
  ui::SetText(InTarget(w, C::TargetInterval), L"30");
  ui::Close(w);
  ChooseFront(today_);
  const std::u16string text = u"line one\r\nline two is long\r\nline three";
  Compose(C::AAOpt, text);
  const std::size_t logged = SentLines(Log(), kRoleToday).size();
  ui::ClickAsync(Control(C::Send));
  // Line 2 is being typed: the user clicks Notepad.
  ASSERT_TRUE(ui::WaitUntil([&] { return SentLines(Log(), kRoleToday).size() == logged + 1; }, 20000));
  ASSERT_TRUE(ui::WaitUntil([&] { return ui::Text(today_edit_).size() >= 3; }));
  ASSERT_TRUE(ui::BringToFront(notepad_window_));
  ASSERT_TRUE(ui::WaitUntil([&] { return ui::Text(Control(C::Send)) == L"送信"; }));
  EXPECT_EQ(Status(), L"前面が変わり中止（2行目の途中）");
  ::Sleep(300);
  EXPECT_EQ(ui::Text(notepad_edit_), L"") << "not a character typed into the window that came to the front";
  const std::vector<std::u16string> sent = SentLines(Log(), kRoleToday);
  ASSERT_EQ(sent.size(), logged + 1);
  EXPECT_EQ(sent.back(), u"line one");
  // What the chat's box got and what the tool's box keeps make line 2, each character once.
  EXPECT_EQ(ui::Text(today_edit_) + ui::Text(Control(C::Message)), L"line two is long\r\nline three");
  EXPECT_EQ(GetForegroundWindow(), notepad_window_) << "the foreground is left alone after a stop";
  ui::SetText(today_edit_, L"");
}

TEST_F(TargetKindsEndToEnd, APickedNotepadBehindTheToolGetsEveryLine) {
  const HWND w = TargetWindow();
  ASSERT_NE(w, nullptr);
  ui::Click(InTarget(w, C::TargetPickedOpt));
  // Notepad beside the target window, then the finder dragged onto its edit box.
  RECT r{};
  GetWindowRect(w, &r);
  SetWindowPos(notepad_window_, nullptr, r.right + 16, r.top, 480, 360, SWP_NOZORDER | SWP_NOACTIVATE);
  ASSERT_TRUE(ui::BringToFront(notepad_window_));
  ASSERT_TRUE(ui::BringToFront(w));
  ui::DragMouse(ui::CentreOf(InTarget(w, C::TargetInputFinder)), ui::CentreOf(notepad_edit_));
  ASSERT_TRUE(ui::WaitUntil([&] { return ui::Text(InTarget(w, C::TargetPicked)).find(L"notepad.exe") != std::wstring::npos; }));
  ui::Click(InTarget(w, C::TargetPressEnter));
  ui::Close(w);
  ASSERT_TRUE(ui::BringToFront(main_));
  Compose(C::AAOpt, u"い\U0001F600B\r\n二行目\r\nthird");
  SendAndWait();
  EXPECT_TRUE(ui::WaitUntil([&] { return ui::Text(notepad_edit_) == L"い\U0001F600B\r\n二行目\r\nthird\r\n"; }))
      << ui::Text(notepad_edit_).size();
  EXPECT_EQ(GetForegroundWindow(), main_) << "the picked window stays behind";
}

TEST_F(TargetKindsEndToEnd, APickedButtonSaysEachLineAndAnAnsiBoxGetsTheChatsCodes) {
  const HWND w = TargetWindow();
  ASSERT_NE(w, nullptr);
  ui::Click(InTarget(w, C::TargetPickedOpt));
  // The keyboard way: three seconds to bring the input box, then the button, to the front.
  const auto pick_later = [&](C button, HWND window, HWND control) {
    ui::Click(InTarget(w, button));
    ASSERT_TRUE(ui::BringToFront(window));
    ASSERT_TRUE(ui::Focus(control));
    ::Sleep(3500);
  };
  const HWND today_button = ui::FindControl(today_, practice_chat::kTodaySendButtonId);
  pick_later(C::TargetInputDelayed, today_, today_edit_);
  pick_later(C::TargetButtonDelayed, today_, today_button);
  ASSERT_TRUE(ui::BringToFront(w));
  ui::Click(InTarget(w, C::TargetPressButton));
  ASSERT_TRUE(ui::BringToFront(main_));
  const std::size_t logged = SentLines(Log(), kRoleToday).size();
  Compose(C::AAOpt, u"ボタンで\r\n\U0001F600");
  SendAndWait();
  ASSERT_TRUE(ui::WaitUntil([&] { return SentLines(Log(), kRoleToday).size() == logged + 2; }));
  const std::vector<std::u16string> sent = SentLines(Log(), kRoleToday);
  EXPECT_EQ(sent[logged], u"ボタンで");
  EXPECT_EQ(sent[logged + 1], u"\U0001F600");

  // The old chat's input box is an ANSI window: the same codes a chat send posts.
  const HWND chat_frame = chat_->WaitForWindow(ToWide(practice_chat::kDefaultChatTitle));
  const HWND chat_edit = ui::FindControlByClass(chat_frame, L"MSNChatEdit4");
  ASSERT_TRUE(chat_edit);
  ASSERT_TRUE(ui::BringToFront(w));
  pick_later(C::TargetInputDelayed, chat_frame, chat_edit);
  ASSERT_TRUE(ui::BringToFront(w));
  ui::Click(InTarget(w, C::TargetPressNone));
  ui::Close(w);
  ASSERT_TRUE(ui::BringToFront(main_));
  const std::size_t before = RecordsOf(Log(), kRoleChatEdit, 0x286).size();
  Compose(C::AAOpt, u"漢ｱa");
  SendAndWait();
  std::vector<std::uint32_t> expected;
  for (const std::int32_t code : CharCodes(u"漢ｱa")) expected.push_back(static_cast<std::uint32_t>(code));
  ASSERT_TRUE(ui::WaitUntil([&] { return RecordsOf(Log(), kRoleChatEdit, 0x286).size() >= before + expected.size(); }));
  std::vector<std::uint32_t> got;
  const auto records = RecordsOf(Log(), kRoleChatEdit, 0x286);
  for (std::size_t i = before; i < records.size(); ++i) got.push_back(records[i].wparam);
  EXPECT_EQ(got, expected);
}


// --- pasting ---

const std::u16string kUsersText = u"ユーザーのコピー";
const std::string kUsersPrivate("\0\x01\xFF" "private\0", 11);

// What a copy in the user's program leaves on the clipboard: text and a private format. Its
// window is gone afterwards, as the content's owner often is.
void CopyAsTheUser() {
  const HWND user = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  EXPECT_TRUE(CopyToClipboard(user, {{CF_UNICODETEXT, TextBytes(kUsersText)},
                                     {RegisterClipboardFormatW(L"KakehashiTestPrivate"), kUsersPrivate}}));
  DestroyWindow(user);
}

bool HoldsTheUsersCopy() {
  return BeginsWith(ClipboardBytes(CF_UNICODETEXT), TextBytes(kUsersText)) &&
         BeginsWith(ClipboardBytes(RegisterClipboardFormatW(L"KakehashiTestPrivate")), kUsersPrivate);
}

// Windows of the test on a thread of their own, with its message loop: a clipboard format
// listener that notes, at each change, whether the content carries the mark that keeps it
// from clipboard monitors (without reading it), and a top-level window that never reads
// the clipboard and ignores every key, Ctrl+V included.
class ClipboardWatch {
 public:
  ClipboardWatch() : thread_([this] { Run(); }) { ui::WaitUntil([this] { return deaf_ != nullptr; }); }
  ~ClipboardWatch() {
    PostThreadMessageW(thread_id_, WM_QUIT, 0, 0);
    thread_.join();
  }
  HWND deaf() const { return deaf_; }
  // Once every change notified so far has been looked at: how many there were, and how
  // many without the mark.
  std::pair<int, int> Changes() {
    const int asked = ++flushes_asked_;
    PostMessageW(listener_, WM_APP, 0, 0);
    ui::WaitUntil([&] { return flushes_ >= asked; });
    return {changes_, unmarked_};
  }
  int Enters() const { return enters_; }

 private:
  static inline ClipboardWatch* self_ = nullptr;
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wp, LPARAM lp) {
    if (message == WM_CLIPBOARDUPDATE) {
      ++self_->changes_;
      if (!IsClipboardFormatAvailable(RegisterClipboardFormatW(L"ExcludeClipboardContentFromMonitorProcessing"))) {
        ++self_->unmarked_;
      }
    } else if (message == WM_APP) {
      ++self_->flushes_;
    } else if (message == WM_KEYDOWN && wp == VK_RETURN) {
      ++self_->enters_;
    }
    return DefWindowProcW(hwnd, message, wp, lp);
  }
  void Run() {
    self_ = this;
    thread_id_ = GetCurrentThreadId();
    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.lpszClassName = L"KakehashiTestClipboardWatch";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassW(&wc);
    listener_ = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    AddClipboardFormatListener(listener_);
    deaf_ = CreateWindowExW(0, wc.lpszClassName, L"貼り付けを読まない窓", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 700, 500,
                            320, 200, nullptr, nullptr, nullptr, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    RemoveClipboardFormatListener(listener_);
    DestroyWindow(deaf_);
    DestroyWindow(listener_);
  }

  std::atomic<HWND> deaf_{nullptr};
  HWND listener_ = nullptr;
  DWORD thread_id_ = 0;
  std::atomic<int> changes_{0}, unmarked_{0}, enters_{0}, flushes_{0}, flushes_asked_{0};
  std::thread thread_;
};

TEST_F(TargetKindsEndToEnd, PastedLinesReachNotepadAndTheUsersClipboardComesBack) {
  CopyAsTheUser();
  ClipboardWatch watch;
  ChooseKind(C::TargetKeysOpt, C::TargetPasteOpt);
  ChooseFront(notepad_window_);
  Compose(C::AAOpt, u"一行目\r\n\U0001F600 two\r\nthree");
  SendAndWait();
  EXPECT_EQ(ui::Text(notepad_edit_), L"一行目\r\n\U0001F600 two\r\nthree\r\n");
  EXPECT_EQ(ui::Text(Control(C::Message)), L"");
  EXPECT_TRUE(HoldsTheUsersCopy());
  const auto [changes, unmarked] = watch.Changes();
  EXPECT_GE(changes, 4) << "three offers and the restore";
  EXPECT_EQ(unmarked, 0) << "every content the tool put there kept away from monitors";
}

TEST_F(TargetKindsEndToEnd, AWindowThatNeverReadsThePasteStopsTheSendAndTheClipboardComesBack) {
  CopyAsTheUser();
  ClipboardWatch watch;
  ChooseKind(C::TargetKeysOpt, C::TargetPasteOpt);
  ChooseFront(watch.deaf());
  const std::u16string text = u"一行目\r\n二行目\r\n三行目";
  Compose(C::AAOpt, text);
  SendAndWait();
  EXPECT_EQ(Status(), L"貼り付けを受け取りません（0/3行済み）");
  EXPECT_EQ(ui::Text(Control(C::Message)), ToWide(text));
  EXPECT_EQ(watch.Enters(), 0) << "nothing was said";
  EXPECT_TRUE(HoldsTheUsersCopy());
  EXPECT_EQ(watch.Changes().second, 0);
}

}  // namespace
}  // namespace kakehashi::testing
