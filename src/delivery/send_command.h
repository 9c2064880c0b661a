// The send command: what the Send button does. Checks the text and the target, picks the
// delivery mode from the option buttons, runs the engine and empties Message after it.
#pragma once

#include <string_view>

#include "delivery/send_lines.h"
#include "delivery/text_shaping.h"
#include "forms/main_window_view.h"
#include "platform/window_ops.h"
#include "targets/target_windows.h"

namespace kakehashi {

inline constexpr std::u16string_view kEmptyMessageText = u"文字を入力してください";
inline constexpr std::u16string_view kNoTargetText = u"ウィンドウが選択されていません";
inline constexpr std::u16string_view kSendFailedText = u"送信中にエラーが発生しました";

// The mode of the first selected option, in the order AAOpt, SAKASAOpt, DEFAULTOpt.
SendMode SelectedMode(const MainWindowView& view);

// The Send button (Send_Click): refuses an empty text or a missing target, refuses a text
// that cannot be sent whole (a character without an ANSI code, in Message or in a
// PlusWord that would be posted; in modes 1 and 2 a line longer than kLongestLineBytes),
// runs the engine once with `stop` (which the window sets when the user stops the send)
// and, only when every line went through, empties Message and gives the status line back
// the text it had before the send. Never throws.
void SendCommand(WindowOps& ops, MainWindowView& view, const TargetWindows& targets, StopRequest& stop);

}  // namespace kakehashi
