// The practice chat program's command line. Portable.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace practice_chat {

// A top-level window's place on the screen, in screen pixels.
struct WindowRect {
  int x = 0, y = 0, width = 0, height = 0;
  bool operator==(const WindowRect&) const = default;
};

struct Options {
  bool chat = true;        // the chat inside a browser window
  bool messenger = true;   // the Messenger conversation window
  bool today = true;       // today's chat, a Unicode window
  bool dialog = true;      // chat: the "#32770" chat control window (and all below it)
  bool input_frame = true; // chat: the "ATL:3723F798" input frame (and the input box)
  bool input_box = true;   // chat: the "MSNChatEdit4" input box
  bool button = true;      // every window: the send button
  std::u16string chat_title;
  std::u16string messenger_title;
  std::u16string log_path;  // empty: no log
  std::optional<WindowRect> chat_rect;       // empty: the program's own place
  std::optional<WindowRect> messenger_rect;  // empty: the program's own place
  std::optional<WindowRect> today_rect;      // empty: the program's own place
  bool help = false;
};

inline constexpr char16_t kUsage[] =
    u"practice_chat [--chat] [--messenger] [--today] [--no-dialog] [--no-atl] [--no-edit] [--no-button]\r\n"
    u"              [--title-chat TEXT] [--title-messenger TEXT] [--log FILE]\r\n"
    u"              [--chat-rect X,Y,W,H] [--messenger-rect X,Y,W,H] [--today-rect X,Y,W,H]\r\n"
    u"\r\n"
    u"--chat / --messenger / --today: 表示するウィンドウ (既定はすべて)\r\n"
    u"--no-dialog, --no-atl, --no-edit, --no-button: チャットの窓構造から一部を除く\r\n"
    u"--log FILE: 受け取ったメッセージと今のチャットで送った行を 1 行ずつ記録する\r\n"
    u"--chat-rect, --messenger-rect, --today-rect: ウィンドウの位置と大きさ (画面のピクセル)";

// The options of `arguments` (without the program name), or nothing when one is unknown
// or lacks its value; `error` then names it.
std::optional<Options> ParseOptions(const std::vector<std::u16string>& arguments, std::u16string* error);

}  // namespace practice_chat
