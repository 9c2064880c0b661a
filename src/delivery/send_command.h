// The send command: what the Send button does. Checks the text and the target, picks the
// delivery mode from the option buttons, runs the engine and empties Message after it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "delivery/send_lines.h"
#include "text/text_shaping.h"
#include "delivery/main_window_view.h"
#include "platform/window_ops.h"
#include "targets/target_settings.h"
#include "targets/target_windows.h"

namespace kakehashi {

inline constexpr std::u16string_view kEmptyMessageText = u"文字を入力してください";
inline constexpr std::u16string_view kNoTargetText = u"ウィンドウが選択されていません";
inline constexpr std::u16string_view kSendFailedText = u"送信中にエラーが発生しました";
// The chat programs take code page 932 characters: on any other system (another language,
// or Windows' UTF-8 option) they would arrive as something else.
inline constexpr std::u16string_view kNeedsShiftJisText = u"シフトJISのWindowsでのみ送信できます";

// The lines of `text` (broken at CR LF) from the zero-based line `first` on.
std::u16string LinesFrom(std::u16string_view text, std::int32_t first);

// The mode of the first selected option, in the order AAOpt, SAKASAOpt, DEFAULTOpt.
SendMode SelectedMode(const MainWindowView& view);

// The Send button (Send_Click): refuses an empty text or a missing target, a system whose
// code page is not 932, and a text that cannot be sent whole (a character without an ANSI
// code, in Message or in a PlusWord that would be posted; in modes 1 and 2 a line longer
// than kLongestLineBytes). Then runs the engine once with `stop` (which the window sets
// when the user stops the send). When every line went through, Message is emptied and the
// status line shows the target again; when a send of modes 1 and 2 ends early, Message
// keeps only the lines not yet said, a line cut short by a keystroke send as the part
// still to type (in any mode); one undo brings the whole text back. Never throws.
SendOutcome SendCommand(WindowOps& ops, MainWindowView& view, const TargetWindows& targets, StopRequest& stop);

// The same for the target that `settings` choose: the chat of `targets`, the window in
// front `front_window` by keystrokes (Unicode text), or the picked window in the background.
// A chat's four-line limit and line reads stay the chat's own.
SendOutcome SendCommand(WindowOps& ops, MainWindowView& view, const TargetWindows& targets,
                        const TargetSettings& settings, Handle front_window, StopRequest& stop);

}  // namespace kakehashi
