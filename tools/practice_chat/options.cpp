// The practice chat program's command line.
#include "options.h"

#include <utility>

#include "practice_chat_ids.h"

namespace practice_chat {
namespace {

// "--name=value" or "--name value".
bool TakeValue(const std::vector<std::u16string>& args, std::size_t& i, std::u16string_view name,
               std::u16string* value, bool* missing) {
  const std::u16string& arg = args[i];
  if (arg == name) {
    if (i + 1 >= args.size()) {
      *missing = true;
      return true;
    }
    *value = args[++i];
    return true;
  }
  if (arg.size() > name.size() && arg.compare(0, name.size(), name) == 0 && arg[name.size()] == u'=') {
    *value = arg.substr(name.size() + 1);
    return true;
  }
  return false;
}

// "X,Y,W,H": four decimal integers, the width and height above zero.
std::optional<WindowRect> ParseRect(std::u16string_view text) {
  int values[4] = {};
  std::size_t at = 0;
  for (int i = 0; i < 4; ++i) {
    const bool negative = at < text.size() && text[at] == u'-';
    if (negative) ++at;
    const std::size_t digits_start = at;
    long long value = 0;
    while (at < text.size() && text[at] >= u'0' && text[at] <= u'9' && at - digits_start < 6) {
      value = value * 10 + (text[at] - u'0');
      ++at;
    }
    if (at == digits_start) return std::nullopt;
    values[i] = static_cast<int>(negative ? -value : value);
    if (i < 3) {
      if (at >= text.size() || text[at] != u',') return std::nullopt;
      ++at;
    }
  }
  if (at != text.size() || values[2] <= 0 || values[3] <= 0) return std::nullopt;
  return WindowRect{values[0], values[1], values[2], values[3]};
}

// A window's place option at args[i]: the member of `o` that its value is for, or nullptr.
std::optional<WindowRect>* TakeRect(const std::vector<std::u16string>& args, std::size_t& i, Options& o,
                                    std::u16string* value, bool* missing) {
  const std::pair<std::u16string_view, std::optional<WindowRect> Options::*> names[] = {
      {u"--chat-rect", &Options::chat_rect},
      {u"--messenger-rect", &Options::messenger_rect},
      {u"--today-rect", &Options::today_rect},
  };
  for (const auto& [name, member] : names) {
    if (TakeValue(args, i, name, value, missing)) return &(o.*member);
  }
  return nullptr;
}

}  // namespace

std::optional<Options> ParseOptions(const std::vector<std::u16string>& args, std::u16string* error) {
  Options o;
  o.chat_title = kDefaultChatTitle;
  o.messenger_title = kDefaultMessengerTitle;
  bool chat_named = false, messenger_named = false, today_named = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::u16string& arg = args[i];
    bool missing = false;
    std::u16string rect;
    if (arg == u"--chat") {
      chat_named = true;
    } else if (arg == u"--messenger") {
      messenger_named = true;
    } else if (arg == u"--today") {
      today_named = true;
    } else if (arg == u"--no-dialog") {
      o.dialog = false;
    } else if (arg == u"--no-atl") {
      o.input_frame = false;
    } else if (arg == u"--no-edit") {
      o.input_box = false;
    } else if (arg == u"--no-button") {
      o.button = false;
    } else if (arg == u"--help" || arg == u"-h" || arg == u"/?") {
      o.help = true;
    } else if (TakeValue(args, i, u"--title-chat", &o.chat_title, &missing) ||
               TakeValue(args, i, u"--title-messenger", &o.messenger_title, &missing) ||
               TakeValue(args, i, u"--log", &o.log_path, &missing)) {
      if (missing) {
        if (error) *error = arg + u": 値がありません";
        return std::nullopt;
      }
    } else if (std::optional<WindowRect>* place = TakeRect(args, i, o, &rect, &missing)) {
      const std::optional<WindowRect> parsed = missing ? std::nullopt : ParseRect(rect);
      if (!parsed) {
        if (error) *error = arg + u": X,Y,幅,高さ を指定してください";
        return std::nullopt;
      }
      *place = parsed;
    } else {
      if (error) *error = arg + u": 不明なオプションです";
      return std::nullopt;
    }
  }
  if (chat_named || messenger_named || today_named) {
    o.chat = chat_named;
    o.messenger = messenger_named;
    o.today = today_named;
  }
  return o;
}

}  // namespace practice_chat
