// Every status text of the tool fits the status box at the common DPIs, measured with the
// box's own font in a real edit control; the full wording goes to the box's tooltip.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "delivery/send_command.h"
#include "delivery/send_lines.h"
#include "delivery/status_texts.h"
#include "forms/control_table.h"
#include "forms/form1.h"
#include "forms/form_rules.h"
#include "forms/frm_target.h"
#include "forms/status_tip.h"
#include "forms/target_rules.h"
#include "targets/keystroke_target.h"
#include "targets/picked_target.h"
#include "targets/target_settings.h"

namespace kakehashi {
namespace {

std::vector<std::u16string> ToolTexts() {
  // Four-digit line counts stand for long pictures; longer counts are rare enough to
  // leave to the tooltip.
  constexpr std::int32_t kSent = 1234, kTotal = 5678;
  std::vector<std::u16string> texts = {
      ProgressText(kSent, kTotal),
      StoppedText(kSent, kTotal).text,
      StoppedText(kSent, kTotal, LineCut::kRest).text,
      StoppedText(kSent, kTotal, LineCut::kWhole).text,
      std::u16string(kClipboardBusyText),
      std::u16string(kStatusNoHomePage),
      std::u16string(kTargetGoneText),
      std::u16string(kTargetElevatedText),
      std::u16string(kUnsendableCharacterText),
      std::u16string(kLineTooLongText),
      std::u16string(kNeedsShiftJisText),
      std::u16string(kSendFailedText),
      std::u16string(kInternalErrorText),
      std::u16string(kPickedGoneText),
      std::u16string(kPickedButtonElsewhereText),
      std::u16string(kModifiersHeldText),
      std::u16string(kCannotBringToFrontText),
      std::u16string(TargetKindStatus(TargetKind::kChat)),
      std::u16string(TargetKindStatus(TargetKind::kKeystrokes)),
      std::u16string(TargetKindStatus(TargetKind::kPickedWindow)),
      std::u16string(kStatusIntervalRange),
      std::u16string(kStatusOwnWindow),
      std::u16string(kStatusNoWindowThere),
      std::u16string(kStatusNoFrontWindow),
      std::u16string(kStatusNoFocus),
      std::u16string(kStatusDragHint),
      std::u16string(kStatusCountdown),
      std::u16string(kStatusCountdownStopped),
      PickedStatus(u""),
  };
  for (int f = 0; f < static_cast<int>(SendFailure::kCount); ++f) {
    texts.push_back(FailedText(static_cast<SendFailure>(f), kSent, kTotal).text);
    texts.push_back(FailedText(static_cast<SendFailure>(f), kSent, kTotal, LineCut::kRest).text);
  }
  return texts;
}

TEST(StatusFit, EveryTextOfTheToolFitsTheStatusBox) {
  ControlSpec row{};
  for (const ControlSpec& control : Form1ControlTable()) {
    if (control.id == ControlId::Status) row = control;
  }
  ASSERT_EQ(row.id, ControlId::Status);
  row.parent = ControlId::kNone;
  HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 800, 200, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(parent, nullptr);
  {
    ControlSet set;
    set.Create(parent, std::span<const ControlSpec>(&row, 1), GetModuleHandleW(nullptr), 96);
    HWND box = set[ControlId::Status];
    for (const UINT dpi : {96u, 120u, 144u}) {
      set.Layout(dpi);
      RECT room{};
      SendMessageW(box, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&room));
      HDC dc = GetDC(box);
      const HGDIOBJ old = SelectObject(dc, set.font(row.font));
      for (const std::u16string& text : ToolTexts()) {
        SIZE size{};
        const std::wstring wide(text.begin(), text.end());
        GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
        EXPECT_LE(size.cx, room.right - room.left) << "at " << dpi << " DPI: " << ::testing::PrintToString(text);
      }
      SelectObject(dc, old);
      ReleaseDC(box, dc);
    }
  }
  DestroyWindow(parent);
}

// The labels of the 送信先 window that explain it: every line fits its label, so that the
// label never breaks a word (Japanese text breaks anywhere).
TEST(StatusFit, TheTargetWindowsExplanationsFitTheirLabels) {
  HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 800, 200, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(parent, nullptr);
  int measured = 0;
  for (ControlSpec row : FrmTargetControlTable()) {
    if (row.kind != ControlKind::Label || std::wstring_view(row.text).size() < 12) continue;
    row.parent = ControlId::kNone;
    ControlSet set;
    set.Create(parent, std::span<const ControlSpec>(&row, 1), GetModuleHandleW(nullptr), 96);
    HWND label = set[row.id];
    for (const UINT dpi : {96u, 120u, 144u}) {
      set.Layout(dpi);
      HDC dc = GetDC(label);
      const HGDIOBJ old = SelectObject(dc, set.font(row.font));
      std::wstring_view rest = row.text;
      for (;;) {
        const std::size_t end = rest.find(L"\r\n");
        const std::wstring line(rest.substr(0, end));
        SIZE size{};
        GetTextExtentPoint32W(dc, line.c_str(), static_cast<int>(line.size()), &size);
        EXPECT_LE(size.cx, TwipsToPixels(row.width, dpi)) << "at " << dpi << " DPI: " << ::testing::PrintToString(line);
        ++measured;
        if (end == std::wstring_view::npos) break;
        rest.remove_prefix(end + 2);
      }
      SelectObject(dc, old);
      ReleaseDC(label, dc);
    }
  }
  EXPECT_GE(measured, 3 * 5) << "the three kinds' lines and the two of the pick";
  DestroyWindow(parent);
}

// The tooltip holds the text it was last given, whole, for the box it was made for.
TEST(StatusFit, TheTooltipShowsTheLastTextInFull) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  HWND owner = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 400, 100, nullptr, nullptr, nullptr, nullptr);
  HWND box = CreateWindowExW(0, L"EDIT", L"", WS_CHILD, 0, 0, 100, 20, owner, nullptr, nullptr, nullptr);
  ASSERT_TRUE(owner && box);
  StatusTip tip;
  tip.Create(owner, box, GetModuleHandleW(nullptr), 96, L"最初の文");
  const std::wstring text = L"送信先のウィンドウが見つかりません（2/3行送信済み、残りの1行はメッセージ欄にあります）";
  tip.SetText(text);
  HWND tooltip = nullptr;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM found) {
        wchar_t name[64] = {};
        GetClassNameW(window, name, 64);
        if (lstrcmpiW(name, TOOLTIPS_CLASSW) == 0) *reinterpret_cast<HWND*>(found) = window;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&tooltip));
  ASSERT_NE(tooltip, nullptr);
  std::vector<wchar_t> shown(256);
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.hwnd = owner;
  tool.uId = reinterpret_cast<UINT_PTR>(box);
  tool.lpszText = shown.data();
  SendMessageW(tooltip, TTM_GETTEXTW, shown.size(), reinterpret_cast<LPARAM>(&tool));
  EXPECT_EQ(std::wstring(shown.data()), text);
  DestroyWindow(owner);
}

}  // namespace
}  // namespace kakehashi
