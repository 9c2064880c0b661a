// The Enter stand-ins' modes, window titles, log roles and control ids, shared with the
// tests that drive them.
#pragma once

#include <string_view>

namespace enter_standin {

// One program per way a classic program says the line of its input box on Enter.
struct Kind {
  const wchar_t* mode;    // --mode
  const wchar_t* title;   // the caption of its window
  std::string_view role;  // the role of its lines in the log
};

// A dialog whose single-line box lies inside a group box, with a default button.
inline constexpr Kind kDialog = {L"dialog", L"Enter スタンドイン（ダイアログ）", "dialog"};
// A dialog with a multi-line box without ES_WANTRETURN and a default button.
inline constexpr Kind kMultiLine = {L"multiline", L"Enter スタンドイン（複数行）", "dialog-multi"};
// A plain ANSI window whose single-line box says its line on the WM_CHAR '\r' that the
// loop's TranslateMessage makes of Enter; a second top-level window has a button.
inline constexpr Kind kCharCr = {L"char-cr", L"Enter スタンドイン（文字）", "char-cr"};

inline constexpr wchar_t kOtherWindowTitle[] = L"Enter スタンドイン（別のウィンドウ）";
// Each click of the other window's button: a WM_COMMAND record of this role.
inline constexpr std::string_view kRoleOtherButton = "other-button";

inline constexpr int kInputId = 100;
inline constexpr int kGroupId = 101;
inline constexpr int kOtherButtonId = 102;

}  // namespace enter_standin
