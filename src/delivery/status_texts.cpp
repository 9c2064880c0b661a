// The status texts of a send.
#include "delivery/status_texts.h"

#include <initializer_list>
#include <iterator>

namespace kakehashi {
namespace {

// The texts are joined from parts in this one function: each join written out with
// operator+ costs the program a kilobyte or more of code.
std::u16string Joined(std::initializer_list<std::u16string_view> parts) {
  std::u16string out;
  for (const std::u16string_view part : parts) out += part;
  return out;
}

std::u16string Lines(std::int32_t sent, std::int32_t total) {
  return Joined({Decimal(sent), u"/", Decimal(total), u"行"});
}

struct Reason {
  std::u16string_view text, detail;
};

// Indexed by SendFailure: the wording for the status box, and in full.
constexpr Reason kReasons[] = {
    {u"送信先が見つかりません", u"送信先のウィンドウが見つかりません"},
    {u"送信先が応答しません", u"送信先が10秒間応答しません"},
    {u"権限が違い送れません", u"送信先のウィンドウに送れません（権限が違います）"},
    {u"送れない文字があります", u"送信できない文字が含まれています"},
    {u"1行が長すぎます", u"1行が長すぎて送信できません"},
    {u"前面が変わり中止", u"送信先が前面でなくなったので中止しました"},
    {u"入力が拒否されました", u"キー入力が拒否されました"},
    {u"送信先が閉じられました", u"指定したウィンドウが閉じられました"},
    {u"キーが押されたまま中止", u"Shift・Ctrl・Alt・Windowsキーが5秒間押されたままだったので中止しました"},
    {u"貼り付けを受け取りません", u"貼り付けが受け取られませんでした（送信先が3秒以内にクリップボードを読みませんでした）"},
    {u"クリップボードが使用中", u"ほかのプログラムがクリップボードを使っていたので中止しました"},
};
static_assert(std::size(kReasons) == static_cast<std::size_t>(SendFailure::kCount));

}  // namespace

std::u16string Decimal(std::int32_t n) {
  std::u16string digits;
  auto rest = static_cast<std::uint32_t>(n < 0 ? 0 : n);
  do {
    digits.insert(digits.begin(), static_cast<char16_t>(u'0' + rest % 10));
    rest /= 10;
  } while (rest != 0);
  return digits;
}

std::u16string ProgressText(std::int32_t sent, std::int32_t total) { return Joined({u"送信中… ", Lines(sent, total)}); }

namespace {

// Where the rest of the text is when the send ended inside line `sent` + 1.
std::u16string CutLineRest(std::int32_t sent, std::int32_t total, LineCut cut) {
  const std::u16string line = Decimal(sent + 1);
  const std::int32_t after = total - sent - 1;
  const std::u16string later = after > 0 ? Joined({u"と、その後の", Decimal(after), u"行"}) : std::u16string();
  if (cut == LineCut::kRest) return Joined({line, u"行目の残り", later, u"はメッセージ欄にあります"});
  return Joined({line, u"行目は途中まで入力されましたが、続きからは送れないため（付加する文字列など）、行全体", later,
                 u"をメッセージ欄に残しました。送信先に入力された分を消してから送信し直してください"});
}

}  // namespace

StatusText StoppedText(std::int32_t sent, std::int32_t total, LineCut cut) {
  if (cut != LineCut::kNone) {
    const std::u16string line = Decimal(sent + 1);
    return {Joined({line, u"行目の途中で中止"}),
            Joined({Lines(sent, total), u"を送信し、", line, u"行目の途中で中止しました。", CutLineRest(sent, total, cut)})};
  }
  const std::u16string left = Decimal(total - sent);
  return {Joined({Lines(sent, total), u"で中止（残り", left, u"行）"}),
          Joined({Lines(sent, total), u"を送信して中止しました。残りの", left, u"行はメッセージ欄にあります"})};
}

StatusText FailedText(SendFailure failure, std::int32_t sent, std::int32_t total, LineCut cut) {
  const Reason& reason = kReasons[static_cast<std::size_t>(failure)];
  if (cut != LineCut::kNone) {
    return {Joined({reason.text, u"（", Decimal(sent + 1), u"行目の途中）"}),
            Joined({reason.detail, u"（", Lines(sent, total), u"送信済み。", CutLineRest(sent, total, cut), u"）"})};
  }
  return {Joined({reason.text, u"（", Lines(sent, total), u"済み）"}),
          Joined({reason.detail, u"（", Lines(sent, total), u"送信済み、残りの", Decimal(total - sent),
                  u"行はメッセージ欄にあります）"})};
}

}  // namespace kakehashi
