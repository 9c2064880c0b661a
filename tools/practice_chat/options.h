// The practice chat program's command line. Portable.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace practice_chat {

struct Options {
  bool chat = true;        // the chat inside a browser window
  bool messenger = true;   // the Messenger conversation window
  bool dialog = true;      // chat: the "#32770" chat control window (and all below it)
  bool input_frame = true; // chat: the "ATL:3723F798" input frame (and the input box)
  bool input_box = true;   // chat: the "MSNChatEdit4" input box
  bool button = true;      // both: the send button
  std::u16string chat_title;
  std::u16string messenger_title;
  std::u16string log_path;  // empty: no log
  bool help = false;
};

inline constexpr char16_t kUsage[] =
    u"practice_chat [--chat] [--messenger] [--no-dialog] [--no-atl] [--no-edit] [--no-button]\r\n"
    u"              [--title-chat TEXT] [--title-messenger TEXT] [--log FILE]\r\n"
    u"\r\n"
    u"--chat / --messenger: 表示するウィンドウ (既定は両方)\r\n"
    u"--no-dialog, --no-atl, --no-edit, --no-button: チャットの窓構造から一部を除く\r\n"
    u"--log FILE: 受け取ったメッセージを 1 行ずつ記録する";

// The options of `arguments` (without the program name), or nothing when one is unknown
// or lacks its value; `error` then names it.
std::optional<Options> ParseOptions(const std::vector<std::u16string>& arguments, std::u16string* error);

}  // namespace practice_chat
