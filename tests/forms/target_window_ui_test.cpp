// The 送信先 window of the real kakehashi.exe, driven from a second process: opened from the
// menu, its kinds and the status line, the interval box, and picking Wine Notepad's edit
// with the finders (a mouse drag) and with the delayed pick, the tool's own windows refused.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "forms/control_ids.h"
#include "forms/target_rules.h"
#include "forms/win32_text.h"
#include "targets/target_settings.h"
#include "ui_driver/ui_driver.h"

namespace kakehashi {
namespace {

using namespace kakehashi::ui;

const std::wstring kTargetCaption = L"送信先の設定";

std::wstring NotepadPath() {
  wchar_t folder[MAX_PATH] = {};
  const UINT n = GetSystemDirectoryW(folder, MAX_PATH);
  return std::wstring(folder, n) + L"\\notepad.exe";
}

bool Contains(const std::wstring& text, std::wstring_view part) { return text.find(part) != std::wstring::npos; }

// Wine Notepad, started once and placed clear of the tool's windows; a fresh tool with its
// 送信先 window open for each test.
class TargetWindow : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    notepad_ = std::make_unique<Process>(NotepadPath());
    if (!notepad_->started()) return;
    notepad_window_ = notepad_->WaitForWindowOfClass(L"Notepad");
    notepad_edit_ = FindControlByClass(notepad_window_, L"Edit");
  }
  static void TearDownTestSuite() { notepad_.reset(); }

  void SetUp() override {
    ASSERT_TRUE(notepad_->started()) << "notepad.exe did not start: " << GetLastError();
    ASSERT_NE(notepad_edit_, nullptr) << "Notepad's edit was not found";
    tool_ = std::make_unique<Process>(KakehashiExePath());
    ASSERT_TRUE(tool_->started()) << "CreateProcessW failed: " << GetLastError();
    main_ = tool_->WaitForWindow(kForm1Caption);
    ASSERT_NE(main_, nullptr) << "the main window did not appear";
    PostMenuCommand(main_, IdNumber(ControlId::TargetMenu));
    target_ = tool_->WaitForWindow(kTargetCaption);
    ASSERT_NE(target_, nullptr) << "the menu item opened no 送信先 window";
    // Notepad at the right of the 送信先 window, the main window below it: none covers another.
    RECT r{};
    GetWindowRect(target_, &r);
    SetWindowPos(notepad_window_, nullptr, r.right + 16, r.top, 480, 360, SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(main_, nullptr, r.left, r.bottom + 8, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  void TearDown() override { tool_.reset(); }

  HWND Control(ControlId id) const { return FindControl(target_, IdNumber(id)); }
  std::wstring StatusText() const { return Text(FindControl(main_, IdNumber(ControlId::Status))); }
  bool StatusBecomes(std::u16string_view text, int timeout_ms = 3000) const {
    return WaitUntil([&] { return StatusText() == ToWide(text); }, timeout_ms);
  }
  void ClearStatus() const { SetText(FindControl(main_, IdNumber(ControlId::Status)), L""); }
  std::wstring Picked() const { return Text(Control(ControlId::TargetPicked)); }
  int VisibleWindows(const std::wstring& caption) const {
    int n = 0;
    for (HWND h : tool_->TopLevelWindows()) n += (IsWindowVisible(h) && Text(h) == caption) ? 1 : 0;
    return n;
  }
  void ChoosePickedWindow() {
    Click(Control(ControlId::TargetPickedOpt));
    ASSERT_TRUE(StatusBecomes(TargetKindStatus(TargetKind::kPickedWindow)));
  }
  // Notepad above the main window, the 送信先 window above both.
  void ShowAllThree() {
    ASSERT_TRUE(BringToFront(notepad_window_));
    ASSERT_TRUE(BringToFront(target_));
  }

  static std::unique_ptr<Process> notepad_;
  static HWND notepad_window_;
  static HWND notepad_edit_;
  std::unique_ptr<Process> tool_;
  HWND main_ = nullptr;
  HWND target_ = nullptr;
};

std::unique_ptr<Process> TargetWindow::notepad_;
HWND TargetWindow::notepad_window_ = nullptr;
HWND TargetWindow::notepad_edit_ = nullptr;

TEST_F(TargetWindow, OpensOnceWithTheThreeKindsChatChosenAndTwoIconFinders) {
  EXPECT_EQ(Text(Control(ControlId::TargetChatOpt)), L"チャット画面（自動）");
  EXPECT_EQ(Text(Control(ControlId::TargetKeysOpt)), L"前面のウィンドウ（キー入力）");
  EXPECT_EQ(Text(Control(ControlId::TargetPickedOpt)), L"指定したウィンドウ（バックグラウンド）");
  EXPECT_EQ(CheckState(Control(ControlId::TargetChatOpt)), BST_CHECKED);
  EXPECT_EQ(CheckState(Control(ControlId::TargetKeysOpt)), BST_UNCHECKED);
  EXPECT_EQ(CheckState(Control(ControlId::TargetPickedOpt)), BST_UNCHECKED);
  EXPECT_EQ(CheckState(Control(ControlId::TargetPressEnter)), BST_CHECKED);
  EXPECT_EQ(Text(Control(ControlId::TargetInterval)), L"0");
  EXPECT_EQ(FocusedWindow(target_), Control(ControlId::TargetChatOpt));

  std::vector<HWND> icons;
  for (HWND h : Descendants(target_)) {
    if (ClassName(h) == L"Static" && (GetWindowLongW(h, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) icons.push_back(h);
  }
  ASSERT_EQ(icons.size(), 2u);
  EXPECT_EQ(icons[0], Control(ControlId::TargetInputFinder)) << "the input box's finder comes first";
  EXPECT_EQ(icons[1], Control(ControlId::TargetButtonFinder));
  EXPECT_NE(SendMessageW(icons[0], STM_GETICON, 0, 0), 0) << "the finder shows an icon";
  EXPECT_FALSE(IsWindowEnabled(icons[0])) << "no picking while the chat is the target";

  if (GetDpiForWindow(target_) == 96) {
    EXPECT_EQ(ClientSize(target_).cx, 460);
    EXPECT_EQ(ClientSize(target_).cy, 539);
  }

  PostMenuCommand(main_, IdNumber(ControlId::TargetMenu));
  PostMenuCommand(main_, IdNumber(ControlId::TargetMenu));
  ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == target_; }, 3000));
  EXPECT_EQ(VisibleWindows(kTargetCaption), 1) << "the item again opens no second window";

  PressKey(VK_ESCAPE);
  EXPECT_TRUE(WaitForGone(target_)) << "Esc closes the window";
  EXPECT_TRUE(tool_->Running());
}

TEST_F(TargetWindow, AChosenKindIsNamedInTheStatusLineAndKeptWhenTheWindowCloses) {
  Click(Control(ControlId::TargetKeysOpt));
  EXPECT_TRUE(StatusBecomes(u"送信先：前面のウィンドウ（キー入力）"));
  EXPECT_FALSE(IsWindowEnabled(Control(ControlId::TargetInputFinder)));
  EXPECT_FALSE(IsWindowEnabled(Control(ControlId::TargetInputDelayed)));

  ChoosePickedWindow();
  for (ControlId id : {ControlId::TargetInputFinder, ControlId::TargetInputDelayed, ControlId::TargetButtonFinder,
                       ControlId::TargetButtonDelayed, ControlId::TargetPressEnter, ControlId::TargetPressNone}) {
    EXPECT_TRUE(IsWindowEnabled(Control(id))) << IdNumber(id);
  }
  EXPECT_FALSE(IsWindowEnabled(Control(ControlId::TargetPressButton))) << "no button picked yet";
  Click(Control(ControlId::TargetPressNone));

  Close(target_);
  ASSERT_TRUE(WaitForGone(target_));
  PostMenuCommand(main_, IdNumber(ControlId::TargetMenu));
  target_ = tool_->WaitForWindow(kTargetCaption);
  ASSERT_NE(target_, nullptr);
  EXPECT_EQ(CheckState(Control(ControlId::TargetPickedOpt)), BST_CHECKED);
  EXPECT_EQ(CheckState(Control(ControlId::TargetChatOpt)), BST_UNCHECKED);
  EXPECT_EQ(CheckState(Control(ControlId::TargetPressNone)), BST_CHECKED);
  EXPECT_TRUE(IsWindowEnabled(Control(ControlId::TargetInputFinder)));
  EXPECT_EQ(FocusedWindow(target_), Control(ControlId::TargetPickedOpt)) << "the chosen kind has the focus";

  Click(Control(ControlId::TargetChatOpt));
  EXPECT_TRUE(StatusBecomes(TargetKindStatus(TargetKind::kChat)));
  EXPECT_FALSE(IsWindowEnabled(Control(ControlId::TargetInputFinder)));
}

TEST_F(TargetWindow, IntervalOutsideZeroToAThousandIsRefusedAndTheLastGoodValueShownAgain) {
  const HWND interval = Control(ControlId::TargetInterval);
  const HWND elsewhere = Control(ControlId::TargetChatOpt);
  ASSERT_TRUE(BringToFront(target_));
  ASSERT_TRUE(Focus(interval));
  SetText(interval, L"250");
  for (const wchar_t* wrong : {L"1001", L"abc", L"", L"-5", L"2.5"}) {
    ASSERT_TRUE(Focus(interval));
    SetText(interval, wrong);
    EXPECT_TRUE(StatusBecomes(kStatusIntervalRange)) << "for \"" << wrong << "\"";
    ASSERT_TRUE(Focus(elsewhere));
    EXPECT_TRUE(WaitUntil([&] { return Text(interval) == L"250"; }, 3000)) << "after \"" << wrong << "\"";
  }
  for (const wchar_t* kept : {L"1000", L"０"}) {
    ASSERT_TRUE(Focus(interval));
    SetText(interval, kept);
    ASSERT_TRUE(Focus(elsewhere));
    EXPECT_EQ(Text(interval), kept);
  }
}

TEST_F(TargetWindow, FindersDraggedOntoNotepadPickItsEdit) {
  ChoosePickedWindow();
  ShowAllThree();
  DragMouse(CentreOf(Control(ControlId::TargetInputFinder)), CentreOf(notepad_edit_), 12);
  EXPECT_TRUE(WaitUntil([&] { return Contains(Picked(), L"入力欄\r\n　クラス名：Edit\r\n"); }, 3000)) << Picked();
  EXPECT_TRUE(Contains(Picked(), L"　プログラム：notepad.exe\r\n")) << Picked();
  EXPECT_TRUE(Contains(Picked(), L"　文字コード：Unicode\r\n")) << Picked();
  EXPECT_TRUE(Contains(Picked(), L"　ウィンドウ：" + Text(notepad_window_) + L"\r\n")) << Picked();
  EXPECT_TRUE(StatusBecomes(ToU16(Text(notepad_window_)))) << "the picked window's caption";
  EXPECT_FALSE(IsWindowEnabled(Control(ControlId::TargetPressButton)));

  ShowAllThree();
  DragMouse(CentreOf(Control(ControlId::TargetButtonFinder)), CentreOf(notepad_edit_), 12);
  EXPECT_TRUE(WaitUntil([&] { return Contains(Picked(), L"送信ボタン\r\n　クラス名：Edit"); }, 3000)) << Picked();
  EXPECT_TRUE(IsWindowEnabled(Control(ControlId::TargetPressButton))) << "a button is picked";
}

TEST_F(TargetWindow, DelayedPickTakesTheFocusedControlOfTheWindowInFront) {
  ChoosePickedWindow();
  const HWND delayed = Control(ControlId::TargetInputDelayed);
  Click(delayed);
  EXPECT_EQ(Text(delayed), L"あと 3 秒");
  EXPECT_TRUE(StatusBecomes(kStatusCountdown));
  ASSERT_TRUE(BringToFront(notepad_window_));
  ASSERT_TRUE(Focus(notepad_edit_));
  EXPECT_TRUE(WaitUntil([&] { return Contains(Picked(), L"入力欄\r\n　クラス名：Edit\r\n"); }, 6000)) << Picked();
  EXPECT_TRUE(Contains(Picked(), L"　プログラム：notepad.exe\r\n")) << Picked();
  EXPECT_EQ(Text(delayed), L"3秒後に前面の入力欄を指定") << "the caption comes back";
  EXPECT_TRUE(StatusBecomes(ToU16(Text(notepad_window_))));
}

TEST_F(TargetWindow, TheToolsOwnWindowsCannotBePicked) {
  ChoosePickedWindow();
  const std::wstring nothing = Picked();
  ASSERT_TRUE(BringToFront(main_));
  ASSERT_TRUE(BringToFront(target_));
  const POINT finder = CentreOf(Control(ControlId::TargetInputFinder));
  struct Drop {
    const char* what;
    POINT at;
    std::u16string_view status;
  };
  const Drop drops[] = {
      {"the main window's message box", CentreOf(FindControl(main_, IdNumber(ControlId::Message))), kStatusOwnWindow},
      {"the description box of the 送信先 window", CentreOf(Control(ControlId::TargetPicked)), kStatusOwnWindow},
      {"the finder itself (a click)", finder, kStatusDragHint},
  };
  for (const Drop& d : drops) {
    ClearStatus();
    DragMouse(finder, d.at, 6);
    EXPECT_TRUE(StatusBecomes(d.status)) << d.what << ": " << ::testing::PrintToString(ToU16(StatusText()));
  }

  ClearStatus();
  Click(Control(ControlId::TargetButtonDelayed));
  EXPECT_TRUE(StatusBecomes(kStatusOwnWindow, 6000)) << "the delayed pick with the tool in front";
  EXPECT_EQ(Picked(), nothing);
  EXPECT_FALSE(IsWindowEnabled(Control(ControlId::TargetPressButton)));
}

}  // namespace
}  // namespace kakehashi
