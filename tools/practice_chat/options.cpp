// The practice chat program's command line.
#include "options.h"

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

}  // namespace

std::optional<Options> ParseOptions(const std::vector<std::u16string>& args, std::u16string* error) {
  Options o;
  o.chat_title = kDefaultChatTitle;
  o.messenger_title = kDefaultMessengerTitle;
  bool chat_named = false, messenger_named = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::u16string& arg = args[i];
    bool missing = false;
    if (arg == u"--chat") {
      chat_named = true;
    } else if (arg == u"--messenger") {
      messenger_named = true;
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
    } else {
      if (error) *error = arg + u": 不明なオプションです";
      return std::nullopt;
    }
  }
  if (chat_named || messenger_named) {
    o.chat = chat_named;
    o.messenger = messenger_named;
  }
  return o;
}

}  // namespace practice_chat
