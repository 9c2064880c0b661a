// The delivery engine: reads the message box line by line, shapes each line, and posts its
// characters and the send-button press to the target chat window.
#pragma once

#include <cstddef>
#include <string_view>

#include "delivery/text_shaping.h"
#include "forms/main_window_view.h"
#include "platform/window_ops.h"
#include "targets/target_windows.h"

namespace kakehashi {

// Status-line texts of the engine's refusals and stops.
inline constexpr std::u16string_view kTooManyLinesText = u"4行以上は無視になります";
inline constexpr std::u16string_view kNotSingleLineText = u"単一行じゃないのれす";
inline constexpr std::u16string_view kTargetGoneText = u"送信先のウィンドウが見つかりません";
inline constexpr std::u16string_view kUnsendableCharacterText = u"送信できない文字が含まれています";
inline constexpr std::u16string_view kLineTooLongText = u"1行が長すぎて送信できません";

// EM_GETLINE takes its capacity in a 16-bit word: a line is first read into the classic
// 1000-byte buffer and, when that may have cut it, again into the largest buffer.
inline constexpr std::size_t kLineBufferBytes = 1000;
inline constexpr std::size_t kLargestLineBufferBytes = 65535;
// The longest line (in ANSI bytes) that modes 1 and 2 can read whole. A read that comes
// within one byte of the capacity counts as possibly cut, so the limit stays two below it.
inline constexpr std::size_t kLongestLineBytes = kLargestLineBufferBytes - 2;

// Types the text of Message into `targets` in `mode`. True when it went through; false
// when it refused or stopped, with the reason in the status line. Every control value is
// read at the moment it is needed. A post that fails (the window is gone, or its queue is
// full) stops the send at once. Never throws out of the platform calls it makes.
bool SendLines(WindowOps& ops, MainWindowView& view, const TargetWindows& targets, SendMode mode,
               bool is_messenger);

// Posts the text of PlusWord, character by character, to TargetEdit. False when a post
// failed or a character has no code in the ANSI code page (the status line then says so).
bool PostPlusWord(WindowOps& ops, MainWindowView& view, const TargetWindows& targets);

}  // namespace kakehashi
