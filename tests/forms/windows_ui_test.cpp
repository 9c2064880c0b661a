// kakehashi.exe driven from a second process as a user would: start values, the option
// rules, the header/footer frame, the delay check, the hints, keys, the message box's line
// ends, the help and About windows, the layout at 96 DPI, and the end of the program with
// its last window.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string_view>
#include <utility>
#include <string>
#include <vector>

#include "forms/control_ids.h"
#include "forms/form1.h"
#include "forms/form_rules.h"
#include "forms/win32_text.h"
#include "ui_driver/ui_driver.h"

namespace kakehashi {
namespace {

using namespace kakehashi::ui;

const std::wstring kMainCaption = L"Kakehashi 入力支援ツール　ver 1.5";
const std::wstring kTipCaption = L"ﾜﾝﾎﾟｲﾝﾄ";
const std::wstring kAboutCaption = L"ﾊﾞｰｼﾞｮﾝ情報";

// One running tool for the whole suite: each start costs about a second under Wine.
class ToolWindows : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    process_ = std::make_unique<Process>(KakehashiExePath());
    if (process_->started()) main_ = process_->WaitForWindow(kMainCaption);
  }
  static void TearDownTestSuite() { process_.reset(); }

  void SetUp() override {
    ASSERT_TRUE(process_->started()) << "CreateProcessW failed: " << GetLastError();
    ASSERT_NE(main_, nullptr) << "the main window did not appear";
  }

  static HWND Control(ControlId id) { return FindControl(main_, IdNumber(id)); }
  static std::wstring StatusText() { return Text(Control(ControlId::Status)); }
  static bool StatusBecomes(std::u16string_view text) {
    return WaitUntil([&] { return StatusText() == kakehashi::ToWide(text); }, 3000);
  }
  static int Windows(const std::wstring& caption) {
    int n = 0;
    for (HWND h : process_->TopLevelWindows()) n += (IsWindowVisible(h) && Text(h) == caption) ? 1 : 0;
    return n;
  }

  static std::unique_ptr<Process> process_;
  static HWND main_;
};

std::unique_ptr<Process> ToolWindows::process_;
HWND ToolWindows::main_ = nullptr;

TEST_F(ToolWindows, StartsWithTheValuesOfItsTableAndFocusOnSendNow) {
  EXPECT_EQ(CheckState(Control(ControlId::DEFAULTOpt)), BST_CHECKED);
  EXPECT_EQ(CheckState(Control(ControlId::AAOpt)), BST_UNCHECKED);
  EXPECT_EQ(CheckState(Control(ControlId::SAKASAOpt)), BST_UNCHECKED);
  for (ControlId box : {ControlId::SendNow, ControlId::Limit, ControlId::PlusCheck, ControlId::BeforePlusCheck,
                        ControlId::AfterPlusCheck}) {
    EXPECT_EQ(CheckState(Control(box)), BST_UNCHECKED) << IdNumber(box);
  }
  EXPECT_FALSE(Visible(Control(ControlId::Frame1)));
  EXPECT_EQ(Text(Control(ControlId::Wait)), L"500");
  EXPECT_EQ(Text(Control(ControlId::PlusWord)), L"(^。^)");
  EXPECT_EQ(Text(Control(ControlId::Message)), L"");
  EXPECT_EQ(StatusText(), L"ウィンドウが選択されていません");
  EXPECT_EQ(FocusedWindow(main_), Control(ControlId::SendNow));
}

TEST_F(ToolWindows, LaysOutTheTablesTwipsAsPixelsAt96Dpi) {
  if (GetDpiForWindow(main_) != 96) GTEST_SKIP() << "the desktop is not at 96 DPI";
  EXPECT_EQ(ClientSize(main_).cx, 332);
  EXPECT_EQ(ClientSize(main_).cy, 316);
  struct Place {
    ControlId id, parent;
    RECT rect;
  };
  const Place places[] = {
      {ControlId::AAOpt, ControlId::kNone, {38, 7, 38 + 140, 7 + 17}},
      {ControlId::Wait, ControlId::kNone, {218, 18, 218 + 81, 18 + 16}},
      {ControlId::Frame4, ControlId::kNone, {9, 135, 9 + 313, 135 + 152}},
      {ControlId::Message, ControlId::Frame4, {8, 32, 8 + 297, 32 + 83}},
      {ControlId::Send, ControlId::Frame4, {160, 118, 160 + 105, 118 + 25}},
      {ControlId::PlusWord, ControlId::Frame1, {96, 30, 96 + 86, 30 + 18}},
      {ControlId::Status, ControlId::kNone, {6, 297, 6 + 246, 297 + 16}},
  };
  for (const Place& p : places) {
    const HWND parent = p.parent == ControlId::kNone ? main_ : Control(p.parent);
    const RECT r = RectInParent(Control(p.id), parent);
    EXPECT_EQ(r.left, p.rect.left) << IdNumber(p.id);
    EXPECT_EQ(r.top, p.rect.top) << IdNumber(p.id);
    EXPECT_EQ(r.right, p.rect.right) << IdNumber(p.id);
    EXPECT_EQ(r.bottom, p.rect.bottom) << IdNumber(p.id);
  }
}

TEST_F(ToolWindows, ModesOneAndTwoHoldSendNowTickedAndModeThreeLeavesItFree) {
  const HWND send_now = Control(ControlId::SendNow);
  for (ControlId mode : {ControlId::AAOpt, ControlId::SAKASAOpt}) {
    Click(Control(mode));
    EXPECT_EQ(CheckState(Control(mode)), BST_CHECKED);
    EXPECT_EQ(CheckState(send_now), BST_CHECKED) << IdNumber(mode);
    Click(send_now);
    EXPECT_EQ(CheckState(send_now), BST_CHECKED) << "cannot be cleared in mode " << IdNumber(mode);
  }
  Click(Control(ControlId::DEFAULTOpt));
  EXPECT_EQ(CheckState(send_now), BST_UNCHECKED);
  EXPECT_EQ(CheckState(Control(ControlId::SAKASAOpt)), BST_UNCHECKED) << "one option of three";
  Click(send_now);
  EXPECT_EQ(CheckState(send_now), BST_CHECKED);
  Click(send_now);
  EXPECT_EQ(CheckState(send_now), BST_UNCHECKED);
  Click(send_now);
  Click(Control(ControlId::SAKASAOpt));
  Click(Control(ControlId::DEFAULTOpt));
  EXPECT_EQ(CheckState(send_now), BST_UNCHECKED);

  // Clicking the selected mode 3 again keeps the user's choice either way.
  Click(send_now);
  Click(Control(ControlId::DEFAULTOpt));
  EXPECT_EQ(CheckState(send_now), BST_CHECKED) << "a click on the selected option is no change of mode";
  Click(send_now);
  Click(Control(ControlId::DEFAULTOpt));
  EXPECT_EQ(CheckState(send_now), BST_UNCHECKED);
}

TEST_F(ToolWindows, PlusCheckShowsAndHidesTheFrameWithItsValuesKept) {
  const HWND plus = Control(ControlId::PlusCheck);
  const HWND before = Control(ControlId::BeforePlusCheck);
  const HWND word = Control(ControlId::PlusWord);
  Click(plus);
  EXPECT_TRUE(Visible(Control(ControlId::Frame1)));
  EXPECT_TRUE(Visible(before));
  EXPECT_TRUE(Visible(word));
  Click(before);
  SetText(word, L"(ﾟдﾟ)< ");
  Click(plus);
  EXPECT_FALSE(Visible(Control(ControlId::Frame1)));
  EXPECT_FALSE(Visible(before)) << "the frame's controls hide with it";
  EXPECT_FALSE(Visible(Control(ControlId::Label2)));
  EXPECT_FALSE(Visible(word));
  Click(plus);
  EXPECT_TRUE(Visible(word));
  EXPECT_EQ(CheckState(before), BST_CHECKED);
  EXPECT_EQ(CheckState(Control(ControlId::AfterPlusCheck)), BST_UNCHECKED);
  EXPECT_EQ(Text(word), L"(ﾟдﾟ)< ");
  Click(before);
  Click(plus);
}

// Tab runs through the controls that take the focus in the order of their tab indexes,
// the frame of 付加, made after the window shows, in its place.
TEST_F(ToolWindows, TabFollowsTheTablesTabIndexes) {
  std::vector<const ControlSpec*> stops;
  for (const ControlSpec& item : Form1ControlTable()) {
    if (GetWindowLongW(Control(item.id), GWL_STYLE) & WS_TABSTOP) stops.push_back(&item);
  }
  std::sort(stops.begin(), stops.end(), [](const ControlSpec* a, const ControlSpec* b) { return a->tab < b->tab; });
  ASSERT_GT(stops.size(), 10u);
  Click(Control(ControlId::PlusCheck));
  std::vector<int> walked;
  HWND at = Control(stops.front()->id);
  for (std::size_t i = 0; i < stops.size(); ++i) {
    walked.push_back(GetDlgCtrlID(at));
    at = GetNextDlgTabItem(main_, at, FALSE);
  }
  Click(Control(ControlId::PlusCheck));
  std::vector<int> expected;
  for (const ControlSpec* item : stops) expected.push_back(IdNumber(item->id));
  EXPECT_EQ(walked, expected);
}

TEST_F(ToolWindows, LimitReportsBothStates) {
  Click(Control(ControlId::Limit));
  EXPECT_TRUE(StatusBecomes(u"入力行数制限を解除しました"));
  Click(Control(ControlId::Limit));
  EXPECT_TRUE(StatusBecomes(u"入力行数を制限します"));
}

// A build without a home page opens the README.txt beside the program, as the ZIP has it,
// and without one says so: never a made-up address.
TEST_F(ToolWindows, TheHomePageItemOpensTheReadmeBesideTheProgramOrSaysThereIsNone) {
  std::wstring readme = KakehashiExePath();
  readme.erase(readme.find_last_of(L'\\') + 1);
  readme += L"README.txt";
  DeleteFileW(readme.c_str());
  SetText(Control(ControlId::Status), L"");
  PostMenuCommand(main_, IdNumber(ControlId::GotoHP));
  EXPECT_TRUE(WaitUntil([&] { return Text(Control(ControlId::Status)) == L"ホームページは設定されていません"; }));

  // Wine: a new prefix maps .txt to no program of its own (the shell answers "no
  // association"), where Windows maps it to Notepad; nor does it read the user's classes.
  static constexpr wchar_t kTextFile[] = L"txtfile";
  RegSetKeyValueW(HKEY_CLASSES_ROOT, L".txt", nullptr, REG_SZ, kTextFile, sizeof kTextFile);
  const HANDLE file = CreateFileW(readme.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  CloseHandle(file);
  PostMenuCommand(main_, IdNumber(ControlId::GotoHP));
  HWND opened = nullptr;
  EXPECT_TRUE(WaitUntil([&] {
    opened = FindWindowW(L"Notepad", nullptr);
    return opened && Text(opened).find(L"README") != std::wstring::npos;
  })) << "Wine opens a text file in its Notepad";
  if (opened) PostMessageW(opened, WM_CLOSE, 0, 0);
  WaitUntil([&] { return !IsWindow(opened); });
  DeleteFileW(readme.c_str());
}

TEST_F(ToolWindows, WaitEmptiesOnAnyNonNumericTextAndKeepsNumbers) {
  const HWND wait = Control(ControlId::Wait);
  for (const wchar_t* kept : {L"250", L"-3", L"1.5"}) {
    Click(Control(ControlId::Limit));
    Click(Control(ControlId::Limit));
    ASSERT_TRUE(StatusBecomes(kStatusLimitOn));
    SetText(wait, kept);
    EXPECT_EQ(Text(wait), kept);
    EXPECT_EQ(StatusText(), kakehashi::ToWide(kStatusLimitOn)) << "no message for " << kept;
  }
  for (const wchar_t* wrong : {L"12a", L"", L"-", L"1.2.3"}) {
    SetText(wait, L"12");
    Click(Control(ControlId::Limit));
    Click(Control(ControlId::Limit));
    SetText(wait, wrong);
    EXPECT_EQ(Text(wait), L"");
    EXPECT_EQ(StatusText(), kakehashi::ToWide(kStatusNotNumeric));
  }
  // Typed keys: a letter after 12 empties the whole box.
  SetText(wait, L"");
  ASSERT_TRUE(BringToFront(main_));
  ASSERT_TRUE(Focus(wait));
  TypeText(L"12");
  EXPECT_TRUE(WaitUntil([&] { return Text(wait) == L"12"; }, 3000));
  TypeText(L"x");
  EXPECT_TRUE(WaitUntil([&] { return Text(wait).empty() && StatusText() == kakehashi::ToWide(kStatusNotNumeric); }, 3000));
  SetText(wait, L"500");
}

TEST_F(ToolWindows, MessageFocusHintsShiftEnterAndEnterPressesSend) {
  const HWND message = Control(ControlId::Message);
  Click(Control(ControlId::Limit));
  ASSERT_TRUE(BringToFront(main_));
  ASSERT_TRUE(Focus(Control(ControlId::Wait)));
  ASSERT_TRUE(Focus(message));
  EXPECT_TRUE(StatusBecomes(kStatusNewLineHint));

  SetText(message, L"ab");
  SendMessageW(message, EM_SETSEL, 2, 2);
  PressKey(VK_RETURN, true);
  EXPECT_TRUE(WaitUntil([&] { return Text(message) == L"ab\r\n"; }, 3000)) << "Shift+Enter adds CR LF";
  EXPECT_EQ(StatusText(), kakehashi::ToWide(kStatusNewLineHint));

  // No chat window was ever in front, so the send command refuses: that proves Send ran.
  PressKey(VK_RETURN);
  EXPECT_TRUE(StatusBecomes(kStatusNoWindow)) << "Enter in Message presses Send";
  EXPECT_EQ(Text(message), L"ab\r\n") << "a refused send keeps the text";
  SetText(message, L"");
  Click(Control(ControlId::Limit));
}

// The text of the clipboard, as a copy from another program puts it there.
bool PutOnClipboard(std::wstring_view text) {
  if (!OpenClipboard(nullptr)) return false;
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
  bool put = false;
  if (auto* chars = memory ? static_cast<wchar_t*>(GlobalLock(memory)) : nullptr) {
    text.copy(chars, text.size());
    chars[text.size()] = L'\0';
    GlobalUnlock(memory);
    put = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
  }
  if (!put && memory) GlobalFree(memory);
  CloseClipboard();
  return put;
}

TEST_F(ToolWindows, MessageBoxTurnsLoneCrAndLfIntoCrLfWithTheCaretKept) {
  const HWND message = Control(ControlId::Message);
  const auto selection = [&] {
    const auto sel = static_cast<DWORD>(SendMessageW(message, EM_GETSEL, 0, 0));
    return std::pair<int, int>(LOWORD(sel), HIWORD(sel));
  };
  // Set by another program (WM_SETTEXT).
  SetText(message, L"a\nb\rc\r\nd\n\r");
  EXPECT_EQ(Text(message), L"a\r\nb\r\nc\r\nd\r\n\r\n");
  EXPECT_EQ(SendMessageW(message, EM_GETLINECOUNT, 0, 0), 6);

  // Typed in at the caret by another program (EM_REPLACESEL).
  SetText(message, L"ab");
  SendMessageW(message, EM_SETSEL, 1, 1);
  SendMessageW(message, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"x\ny\r"));
  EXPECT_EQ(Text(message), L"ax\r\ny\r\nb");
  EXPECT_EQ(selection(), std::pair(7, 7)) << "the caret stays after the inserted text";
  EXPECT_EQ(SendMessageW(message, EM_CANUNDO, 0, 0), FALSE) << "no undo brings the lone break back";

  // Pasted over a selection: one step, which an undo takes back.
  ASSERT_TRUE(PutOnClipboard(L"1\n2"));
  SetText(message, L"abcd");
  SendMessageW(message, EM_SETSEL, 1, 3);
  SendMessageW(message, WM_PASTE, 0, 0);
  EXPECT_EQ(Text(message), L"a1\r\n2d");
  EXPECT_EQ(selection(), std::pair(5, 5));
  SendMessageW(message, EM_UNDO, 0, 0);
  EXPECT_EQ(Text(message), L"abcd");
  SendMessageW(message, EM_UNDO, 0, 0);
  EXPECT_EQ(Text(message), L"a1\r\n2d") << "an undo of the undo pastes again";

  // Text already in CR LF is left alone, selection included.
  SendMessageW(message, EM_SETSEL, 0, 2);
  SendMessageW(message, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"z\r\n"));
  EXPECT_EQ(Text(message), L"z\r\n\r\n2d");
  EXPECT_EQ(selection(), std::pair(3, 3));
  SendMessageW(message, EM_UNDO, 0, 0);
  EXPECT_EQ(Text(message), L"a1\r\n2d") << "an undo of a text already in CR LF works as ever";

  // Ctrl+V.
  SetText(message, L"");
  ASSERT_TRUE(BringToFront(main_));
  ASSERT_TRUE(Focus(message));
  PressKey('V', false, true);
  EXPECT_TRUE(WaitUntil([&] { return Text(message) == L"1\r\n2"; }, 3000)) << "got " << Text(message).size();
  SetText(message, L"");
}

TEST_F(ToolWindows, HelpAndAboutOpenOnceEachAndCloseByKeys) {
  PostMenuCommand(main_, IdNumber(ControlId::Menu));
  const HWND tip = process_->WaitForWindow(kTipCaption);
  ASSERT_NE(tip, nullptr);
  EXPECT_EQ(Text(FindControl(tip, IdNumber(ControlId::TipText1))), kakehashi::ToWide(HelpText()));
  EXPECT_EQ(Text(FindControl(tip, IdNumber(ControlId::TipLabel1))), L"使い方...");
  EXPECT_EQ(FocusedWindow(tip), FindControl(tip, IdNumber(ControlId::TipOK)));
  PostMenuCommand(main_, IdNumber(ControlId::Menu));
  PostMenuCommand(main_, IdNumber(ControlId::Version));
  const HWND about = process_->WaitForWindow(kAboutCaption);
  ASSERT_NE(about, nullptr);
  EXPECT_EQ(Windows(kTipCaption), 1) << "choosing the item again opens no second window";
  EXPECT_EQ(Text(FindControl(about, IdNumber(ControlId::AboutTitle))), kMainCaption);
  EXPECT_TRUE(IsWindow(tip)) << "help and About side by side";

  if (GetDpiForWindow(tip) == 96) {
    EXPECT_EQ(ClientSize(tip).cx, 424);
    EXPECT_EQ(ClientSize(tip).cy, 315);
    EXPECT_EQ(ClientSize(about).cx, 322);
    EXPECT_EQ(ClientSize(about).cy, 101);
  }

  ASSERT_TRUE(BringToFront(about));
  PressKey(VK_ESCAPE);
  EXPECT_TRUE(WaitForGone(about)) << "Esc presses OK";
  ASSERT_TRUE(BringToFront(tip));
  PressKey(VK_RETURN);
  EXPECT_TRUE(WaitForGone(tip)) << "Enter presses OK";

  PostMenuCommand(main_, IdNumber(ControlId::Menu));
  const HWND again = process_->WaitForWindow(kTipCaption);
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(Text(FindControl(again, IdNumber(ControlId::TipText1))), kakehashi::ToWide(HelpText()));
  Click(FindControl(again, IdNumber(ControlId::TipOK)));
  EXPECT_TRUE(WaitForGone(again));
  EXPECT_TRUE(process_->Running());
}

TEST(ToolLifetime, EndsWhenItsLastWindowClosesNotWithTheMainWindow) {
  Process tool(KakehashiExePath());
  ASSERT_TRUE(tool.started());
  const HWND main = tool.WaitForWindow(kMainCaption);
  ASSERT_NE(main, nullptr);
  PostMenuCommand(main, IdNumber(ControlId::Version));
  const HWND about = tool.WaitForWindow(kAboutCaption);
  ASSERT_NE(about, nullptr);
  Close(main);
  ASSERT_TRUE(WaitForGone(main));
  EXPECT_FALSE(tool.WaitForExit(500));
  EXPECT_TRUE(IsWindow(about)) << "the About window stays open";
  Close(about);
  EXPECT_TRUE(tool.WaitForExit()) << "the last window closed";
  EXPECT_EQ(tool.ExitCode(), 0u);
}

}  // namespace
}  // namespace kakehashi
