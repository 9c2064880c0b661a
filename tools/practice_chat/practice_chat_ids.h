// What tests need to know of the practice chat program: its default titles, today's chat's
// caption and class, the control ids of its send buttons and the prefix of the lines of its
// transcripts. Portable.
#pragma once

#include <string_view>

namespace practice_chat {

// The resource id of the program's icon (practice_chat.rc).
inline constexpr int kPracticeChatIconId = 1;

inline constexpr int kChatSendButtonId = 1001;
inline constexpr int kMessengerSendButtonId = 750;
inline constexpr int kTodaySendButtonId = 1002;

// The chat title is longer than 30 bytes in Shift_JIS, as the browser's titles are.
inline constexpr std::u16string_view kDefaultChatTitle =
    u"MSNチャット - 雑談ルーム「かけはし」 - Microsoft Internet Explorer";
inline constexpr std::u16string_view kDefaultMessengerTitle = u"たろう - 会話";

// Today's chat: a Unicode window of the program's own class.
inline constexpr std::u16string_view kTodayTitle = u"練習用チャット（今のチャット）";
inline constexpr std::u16string_view kTodayClass = u"PracticeTodayChat";

// Each sent text appears in the transcript as one line: prefix + text.
inline constexpr std::u16string_view kOwnLinePrefix = u"あなた: ";

}  // namespace practice_chat
