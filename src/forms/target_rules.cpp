// The platform-free rules of the 送信先 window.
#include "forms/target_rules.h"

#include "delivery/status_texts.h"

#include "targets/target_settings.h"

namespace kakehashi {
namespace {

constexpr std::u16string_view kUntitled = u"（タイトルなし）";

std::u16string OrUntitled(std::u16string_view caption) {
  return std::u16string(caption.empty() ? kUntitled : caption);
}

}  // namespace

std::optional<std::uint32_t> ParseCharInterval(std::u16string_view text) {
  if (text.empty()) return std::nullopt;
  std::uint32_t value = 0;
  for (const char16_t c : text) {
    std::uint32_t digit = 0;
    if (c >= u'0' && c <= u'9') {
      digit = static_cast<std::uint32_t>(c - u'0');
    } else if (c >= u'０' && c <= u'９') {
      // An IME in full-width mode types these.
      digit = static_cast<std::uint32_t>(c - u'０');
    } else {
      return std::nullopt;
    }
    value = value * 10 + digit;
    // Stops before a long run of digits could overflow.
    if (value > kLongestCharIntervalMs) return std::nullopt;
  }
  return value;
}

std::u16string DescribePicked(const WindowFacts& input, const WindowFacts& button) {
  std::u16string text;
  switch (input.state) {
    case WindowFacts::State::kNotPicked: text += u"入力欄：未指定\r\n"; break;
    case WindowFacts::State::kGone: text += u"入力欄：閉じられました（指定し直してください）\r\n"; break;
    case WindowFacts::State::kPresent:
      text += u"入力欄\r\n";
      text += u"　クラス名：" + input.class_name + u"\r\n";
      text += u"　ウィンドウ：" + OrUntitled(input.window_caption) + u"\r\n";
      text += u"　プログラム：" + (input.program.empty() ? std::u16string(u"（不明）") : input.program) + u"\r\n";
      text += u"　文字コード：" + std::u16string(input.unicode ? u"Unicode" : u"ANSI（シフトJIS）") + u"\r\n";
      break;
  }
  switch (button.state) {
    case WindowFacts::State::kNotPicked: text += u"送信ボタン：未指定（なくても送れます）"; break;
    case WindowFacts::State::kGone: text += u"送信ボタン：閉じられました（指定し直してください）"; break;
    case WindowFacts::State::kPresent:
      text += u"送信ボタン\r\n";
      text += u"　クラス名：" + button.class_name + u"\r\n";
      text += u"　表示：" + (button.caption.empty() ? std::u16string(u"（なし）") : button.caption) + u"\r\n";
      text += u"　ウィンドウ：" + OrUntitled(button.window_caption);
      break;
  }
  return text;
}

std::u16string ProgramFileName(std::u16string_view path) {
  const std::size_t slash = path.find_last_of(u"\\/");
  return std::u16string(slash == std::u16string_view::npos ? path : path.substr(slash + 1));
}

std::u16string PickedStatus(std::u16string_view top_level_caption) { return OrUntitled(top_level_caption); }

std::u16string CountdownCaption(int seconds) {
  return u"あと " + Decimal(seconds) + u" 秒";
}

}  // namespace kakehashi
