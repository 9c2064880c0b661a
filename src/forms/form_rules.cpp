// The platform-free rules of the main window's handlers, and the help text.
#include "forms/form_rules.h"

#include <array>

namespace kakehashi {

bool IsLocaleNumber(std::u16string_view text, std::u16string_view decimal_separator) {
  if (!text.empty() && (text.front() == u'+' || text.front() == u'-')) text.remove_prefix(1);
  bool digit_seen = false;
  bool separator_seen = false;
  while (!text.empty()) {
    if (text.front() >= u'0' && text.front() <= u'9') {
      digit_seen = true;
      text.remove_prefix(1);
    } else if (!decimal_separator.empty() && !separator_seen && text.starts_with(decimal_separator)) {
      separator_seen = true;
      text.remove_prefix(decimal_separator.size());
    } else {
      return false;
    }
  }
  return digit_seen;
}

int SendNowForSelectedOption(ModeOption option) { return option == ModeOption::DEFAULTOpt ? 0 : 1; }

std::optional<int> SendNowAfterOptionClick(ModeOption before, ModeOption selected) {
  if (before == selected) return std::nullopt;
  return SendNowForSelectedOption(selected);
}

std::optional<int> SendNowCorrection(ModeOption selected, int send_now) {
  if (selected != ModeOption::DEFAULTOpt && send_now != 1) return 1;
  return std::nullopt;
}

std::u16string_view LimitStatus(int limit) { return limit == 1 ? kStatusLimitLifted : kStatusLimitOn; }

std::u16string HelpText() {
  static constexpr std::array<std::u16string_view, 43> kLines = {
      u"Kakehashi 文字入力支援ツール",
      u"",
      u"送信先が「チャット画面（自動）」のときは、InternetExplorerのチャットでのみ動作します（サービスは終了しています）。",
      u"メッセンジャからチャットに参加した場合は使用できません。今のチャットには、下の「送信先(T)」で送ります。",
      u"",
      u"",
      u"使用するウィンドウの選択",
      u"このツールを起動した状態で、チャットまたはメッセの使用したいウィンドウを一度最前面に表示します。"
      u"その最前面のウィンドウに対して文字列を送信します。他のウィンドウに送信したいときは、"
      u"そのウィンドウを一度最前面にしてください。",
      u"",
      u"１．複数行を１行ずつ送信",
      u"アスキーアートをCHATに貼り付けるときなどに使えます。またメッセンジャーの会話ウィンドウでの使用もできます。"
      u"改行だけの行があると送信できません。",
      u"",
      u"２．複数行逆さ文字",
      u"２行以上の文字列を逆さまにしてチャットまたはメッセに送信します。改行だけの行があると送信できません。",
      u"",
      u"３．単一行逆さ文字",
      u"１行だけ逆さ文字にしたいときに使います。すぐに発言せずに、一度発言欄に文字を送るだけにすることもできます。",
      u"",
      u"連続送信時間",
      u"２行以上送信する場合の、１行毎の送信間隔をミリ秒単位で設定します。(１秒=1000ミリ秒)\u3000"
      u"チャットで無視状態にならないための制限です。",
      u"",
      u"リミッター解除",
      u"チャットで４行以上発言すると無視になる(らしい)ので、４行以上は送信できないようにしてあります。"
      u"ここにチェックを入れると４行制限がなくなります。但し無視状態になる可能性があります。"
      u"メッセ会話ウィンドウでは効果はありません。",
      u"",
      u"発言に文字を付加",
      u"Headerは文字の頭に、Footerは文字の最後に文字列を追加します。(\uFF9F\u0434\uFF9F)< という文字をHeaderに設定すると",
      u"例：\u3000(\uFF9F\u0434\uFF9F)< こにゃにゃちわ ",
      u"のようになります。",
      u"",
      u"送信先(T)",
      u"メニューの「送信先(T)」で、文字を送る先の種類を選びます。",
      u"・チャット画面（自動）：上の昔のチャット用です（最初はこれになっています）。",
      u"・前面のウィンドウ（キー入力）：今のチャット用です。送りたいウィンドウの入力欄を一度クリックしてから"
      u"このツールに戻り、「送信」を押します。そのウィンドウが前に出て文字が入力され、終わるとこのツールが前に戻ります。"
      u"「1文字ずつキー入力」と「1行ずつ貼り付け」を選べます。貼り付けでも、クリップボードの内容は元に戻ります。",
      u"・指定したウィンドウ（バックグラウンド）：昔ながらのWindowsプログラム用です。十字を入力欄までドラッグして離すか、"
      u"「3秒後に前面の入力欄を指定」を押して3秒以内に入力欄をクリックして指定します。送り先は後ろに隠れたままで構いません。",
      u"",
      u"送信中",
      u"送信中は「送信」ボタンが「中止」になります。「中止」、Esc、Enterのどれかで止まります。"
      u"キー入力の送信は、ほかのウィンドウを前に出しても止まります。",
      u"止まったときは、まだ送っていない行がメッセージ欄に残るので、もう一度「送信」を押すと続きから送れます。"
      u"行の途中で止まったときは、その行の残りが最初の行になります。Ctrl+Zで元の文全体に戻せます。",
      u"結果はステータス欄に表示され、マウスを置くと全文が表示されます。",
  };
  std::u16string text;
  for (std::size_t i = 0; i < kLines.size(); ++i) {
    if (i > 0) text += u"\r\n";
    text += kLines[i];
  }
  return text;
}

}  // namespace kakehashi
