// Picked windows said with Enter under Wine: the Enter stand-ins (a dialog's single-line box
// inside a group box, a dialog's multi-line box, a box that says its line on the '\r' of the
// key) and Wine's Notepad get every line once, in order; the finder takes the box inside a
// group box, also in winecfg; a button of another window is refused when it is picked.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "delivery/status_texts.h"
#include "enter_standin_ids.h"
#include "forms/control_ids.h"
#include "forms/win32_text.h"
#include "support/standin_log.h"
#include "targets/picked_target.h"
#include "ui_driver/ui_driver.h"

namespace kakehashi::testing {
namespace {

using C = ControlId;

bool Contains(const std::wstring& text, std::wstring_view part) { return text.find(part) != std::wstring::npos; }

std::string LogPath(const enter_standin::Kind& kind) {
  return std::string(KAKEHASHI_E2E_DIR) + "/picked_enter_" + std::string(kind.role) + ".log";
}

// "line01 あいう\r\nline02 あいう…", and the lines one by one.
std::u16string Lines(int count, std::vector<std::u16string>* lines) {
  std::u16string text;
  for (int i = 1; i <= count; ++i) {
    const std::u16string line = u"line" + std::u16string(i < 10 ? u"0" : u"") + Decimal(i) + u" あいう";
    lines->push_back(line);
    text += (i > 1 ? u"\r\n" : u"") + line;
  }
  return text;
}

// The tool, Wine's Notepad and the three stand-ins, started once.
class PickedEnterEndToEnd : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    tool_ = std::make_unique<ui::Process>(ui::KakehashiExePath());
    notepad_ = std::make_unique<ui::Process>(L"C:\\windows\\system32\\notepad.exe");
    for (int i = 0; i < 3; ++i) {
      const std::string log = LogPath(*kKinds[i]);
      DeleteFileA(log.c_str());
      standins_[i] = std::make_unique<ui::Process>(ui::WindowsPath(ENTER_STANDIN_EXE_PATH),
                                                   std::wstring(L"--mode ") + kKinds[i]->mode + L" --log \"" +
                                                       ui::WindowsPath(log) + L"\"");
    }
  }
  static void TearDownTestSuite() {
    for (auto& standin : standins_) standin.reset();
    notepad_.reset();
    tool_.reset();
  }

  void SetUp() override {
    ASSERT_TRUE(tool_->started() && notepad_->started());
    main_ = tool_->WaitForWindow(kForm1Caption);
    notepad_window_ = notepad_->WaitForWindowOfClass(L"Notepad");
    ASSERT_TRUE(main_ && notepad_window_);
    for (int i = 0; i < 3; ++i) {
      ASSERT_TRUE(standins_[i]->started());
      windows_[i] = standins_[i]->WaitForWindow(kKinds[i]->title);
      ASSERT_NE(windows_[i], nullptr) << i;
      inputs_[i] = ui::FindControl(windows_[i], enter_standin::kInputId);
    }
    other_ = standins_[2]->WaitForWindow(enter_standin::kOtherWindowTitle);
    ASSERT_NE(other_, nullptr);
  }

  HWND Control(C id) const { return ui::FindControl(main_, IdNumber(id)); }
  HWND InTarget(C id) const { return ui::FindControl(target_, IdNumber(id)); }
  std::wstring Status() const { return ui::Text(Control(C::Status)); }
  std::wstring Picked() const { return ui::Text(InTarget(C::TargetPicked)); }

  // The 送信先 window, opened from the menu, with the picked window chosen.
  void OpenTargetWindow() {
    ui::PostMenuCommand(main_, IdNumber(C::TargetMenu));
    target_ = tool_->WaitForWindow(L"送信先の設定");
    ASSERT_NE(target_, nullptr);
    ui::Click(InTarget(C::TargetPickedOpt));
  }
  void CloseTargetWindow() {
    ui::Close(target_);
    ASSERT_TRUE(ui::WaitForGone(target_));
  }

  // Puts `window` beside the 送信先 window, above the rest, and drags `finder` onto the
  // centre of `control`.
  void DragFinder(C finder, HWND window, HWND control) {
    RECT r{};
    GetWindowRect(target_, &r);
    SetWindowPos(window, nullptr, r.right + 16, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(ui::BringToFront(window));
    ASSERT_TRUE(ui::BringToFront(target_));
    ui::SetText(Control(C::Status), L"");
    ui::DragMouse(ui::CentreOf(InTarget(finder)), ui::CentreOf(control), 8);
    ASSERT_TRUE(ui::WaitUntil([&] { return !Status().empty(); }, 3000));
  }
  // Picks the input box `control` of `window`: the details then name an Edit in it.
  void PickInput(HWND window, HWND control) {
    DragFinder(C::TargetInputFinder, window, control);
    EXPECT_TRUE(Contains(Picked(), L"入力欄\r\n　クラス名：Edit\r\n　ウィンドウ：" + ui::Text(window) + L"\r\n")) << Picked();
  }

  // Sends `text` in mode 1 with no delay and waits until the send has ended.
  void Send(std::u16string_view text) {
    ASSERT_TRUE(ui::BringToFront(main_));
    ui::Click(Control(C::AAOpt));
    ui::SetText(Control(C::Wait), L"0");
    ui::SetText(Control(C::Message), ToWide(text));
    ui::ClickAsync(Control(C::Send));
    ASSERT_TRUE(ui::WaitUntil([&] { return ui::Text(Control(C::Send)) == L"中止"; }, 5000));
    ASSERT_TRUE(ui::WaitUntil([&] { return ui::Text(Control(C::Send)) == L"送信"; }, 30000));
    EXPECT_EQ(ui::Text(Control(C::Message)), L"") << Status();
  }

  static std::vector<StandinRecord> Log(int i) { return ReadStandinLog(LogPath(*kKinds[i])); }

  static constexpr const enter_standin::Kind* kKinds[3] = {&enter_standin::kDialog, &enter_standin::kMultiLine,
                                                           &enter_standin::kCharCr};
  static inline std::unique_ptr<ui::Process> tool_, notepad_, standins_[3];
  HWND main_ = nullptr, target_ = nullptr, notepad_window_ = nullptr, other_ = nullptr;
  HWND windows_[3] = {}, inputs_[3] = {};
};

TEST_F(PickedEnterEndToEnd, EveryLineIsSaidOnceInOrderHoweverTheProgramTakesEnter) {
  // Win32: ChildWindowFromPointEx stops at the group box over the dialog's box.
  POINT in_dialog = ui::CentreOf(inputs_[0]);
  ScreenToClient(windows_[0], &in_dialog);
  ASSERT_EQ(ChildWindowFromPointEx(windows_[0], in_dialog, CWP_SKIPINVISIBLE),
            ui::FindControl(windows_[0], enter_standin::kGroupId));
  const HWND notepad_edit = ui::FindControlByClass(notepad_window_, L"Edit");
  for (int target = 0; target < 4; ++target) {
    const bool notepad = target == 3;
    OpenTargetWindow();
    PickInput(notepad ? notepad_window_ : windows_[target], notepad ? notepad_edit : inputs_[target]);
    ui::Click(InTarget(C::TargetPressEnter));
    CloseTargetWindow();
    for (const int count : {3, 20}) {
      std::vector<std::u16string> lines;
      const std::u16string text = Lines(count, &lines);
      if (notepad) {
        ui::SetText(notepad_edit, L"");
        Send(text);
        EXPECT_EQ(ui::Text(notepad_edit), ToWide(text + u"\r\n")) << count;
        continue;
      }
      const std::size_t before = SentLines(Log(target), kKinds[target]->role).size();
      Send(text);
      // A send that went through has been said: the lines are in the log already.
      std::vector<std::u16string> said = SentLines(Log(target), kKinds[target]->role);
      said.erase(said.begin(), said.begin() + static_cast<std::ptrdiff_t>(before));
      EXPECT_EQ(said, lines) << kKinds[target]->role << " " << count;
      EXPECT_EQ(ui::Text(inputs_[target]), L"") << kKinds[target]->role;
    }
  }
  ::Sleep(300);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(SentLines(Log(i), kKinds[i]->role).size(), 23u) << "nothing said late";
}

TEST_F(PickedEnterEndToEnd, TheFinderTakesTheBoxInsideWinecfgsGroupBox) {
  ui::Process winecfg(L"C:\\windows\\system32\\winecfg.exe");
  HWND sheet = nullptr;
  ASSERT_TRUE(ui::WaitUntil([&] {
    for (const HWND h : winecfg.TopLevelWindows()) sheet = IsWindowVisible(h) ? h : sheet;
    return sheet != nullptr;
  }));
  // The last page: the program's information, with the owner box in a group box.
  const HWND tabs = ui::FindControlByClass(sheet, L"SysTabControl32");
  SendMessageW(sheet, PSM_SETCURSEL, static_cast<WPARAM>(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0) - 1), 0);
  HWND group = nullptr, owner = nullptr;
  ASSERT_TRUE(ui::WaitUntil([&] {
    for (const HWND h : ui::Descendants(sheet)) {
      if (!IsWindowVisible(h)) continue;
      if (ui::ClassName(h) == L"Button" && (GetWindowLongW(h, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX) group = h;
      if (group && !owner && ui::ClassName(h) == L"Edit") owner = h;
    }
    return owner != nullptr;
  }));
  POINT in_page = ui::CentreOf(owner);
  ScreenToClient(GetParent(owner), &in_page);
  ASSERT_EQ(ChildWindowFromPointEx(GetParent(owner), in_page, CWP_SKIPINVISIBLE), group);
  OpenTargetWindow();
  DragFinder(C::TargetInputFinder, sheet, owner);
  EXPECT_TRUE(Contains(Picked(), L"入力欄\r\n　クラス名：Edit\r\n")) << Picked();
  EXPECT_TRUE(Contains(Picked(), L"　プログラム：winecfg.exe\r\n")) << Picked();
  CloseTargetWindow();
}

TEST_F(PickedEnterEndToEnd, AButtonOfAnotherWindowIsRefusedAndANewBoxElsewhereDropsTheButton) {
  const HWND other_button = ui::FindControl(other_, enter_standin::kOtherButtonId);
  const HWND dialog_button = ui::FindControl(windows_[0], IDOK);
  OpenTargetWindow();
  PickInput(windows_[2], inputs_[2]);
  DragFinder(C::TargetButtonFinder, other_, other_button);
  EXPECT_EQ(Status(), ToWide(kPickedButtonElsewhereText));
  EXPECT_TRUE(Contains(Picked(), L"送信ボタン：未指定")) << Picked();
  EXPECT_FALSE(IsWindowEnabled(InTarget(C::TargetPressButton)));

  // The dialog's own button, named with its window; then a box elsewhere drops it.
  PickInput(windows_[0], inputs_[0]);
  DragFinder(C::TargetButtonFinder, windows_[0], dialog_button);
  EXPECT_TRUE(Contains(Picked(), L"送信ボタン\r\n　クラス名：Button\r\n　表示：発言\r\n　ウィンドウ：" + ui::Text(windows_[0])))
      << Picked();
  ui::Click(InTarget(C::TargetPressButton));
  PickInput(windows_[2], inputs_[2]);
  EXPECT_TRUE(Contains(Picked(), L"送信ボタン：未指定")) << Picked();
  EXPECT_EQ(ui::CheckState(InTarget(C::TargetPressEnter)), BST_CHECKED) << "Enter says the lines again";
  CloseTargetWindow();
  EXPECT_TRUE(RecordsOf(Log(2), enter_standin::kRoleOtherButton).empty()) << "the other window's button was clicked";
}

}  // namespace
}  // namespace kakehashi::testing
