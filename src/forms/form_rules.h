// The rules of the main window's handlers that do not depend on the platform: the number
// test of the delay box, SendNow against the chosen mode, the frame, and the status texts.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "delivery/send_command.h"
#include "delivery/main_window_view.h"

namespace kakehashi {

// The start message is the send command's refusal for a missing target: one text.
inline constexpr std::u16string_view kStatusNoWindow = kNoTargetText;
inline constexpr std::u16string_view kStatusNotNumeric = u"数値を入力してください";
inline constexpr std::u16string_view kStatusLimitLifted = u"入力行数制限を解除しました";
// 作者のHPへ in a build without a home page and without its README.txt beside it.
inline constexpr std::u16string_view kStatusNoHomePage = u"ホームページは設定されていません";
inline constexpr std::u16string_view kStatusLimitOn = u"入力行数を制限します";
inline constexpr std::u16string_view kStatusNewLineHint = u"Shift + Enter で改行できます";

// Whether `text` is a number as written in a locale whose decimal separator is
// `decimal_separator`: ASCII digits with an optional leading sign and at most one
// separator, at least one digit. No blanks, thousands separators or exponents.
bool IsLocaleNumber(std::u16string_view text, std::u16string_view decimal_separator);

// The state SendNow takes when `option` has just been selected.
int SendNowForSelectedOption(ModeOption option);

// After a click on a mode option that leaves `selected` selected, `before` having been
// selected until then: the state SendNow must take, or nothing. Only a change of mode sets
// it; clicking the selected option again keeps the user's choice in mode 3.
std::optional<int> SendNowAfterOptionClick(ModeOption before, ModeOption selected);

// After SendNow was clicked into state `send_now`: the state it must be put back to, or
// nothing when the click stands (in modes 1 and 2 it cannot be cleared).
std::optional<int> SendNowCorrection(ModeOption selected, int send_now);

// Frame1 is shown exactly while PlusCheck is ticked.
constexpr bool Frame1Visible(int plus_check) { return plus_check == 1; }

// The status text after Limit was clicked into state `limit`.
std::u16string_view LimitStatus(int limit);

// The help window's text: its lines joined by CR LF, no line break after the last.
std::u16string HelpText();

}  // namespace kakehashi
