// The status texts of a send.
#include "delivery/status_texts.h"

#include <initializer_list>

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

std::u16string_view ShortReason(SendFailure failure) {
  switch (failure) {
    case SendFailure::kTargetGone: return u"送信先が見つかりません";
    case SendFailure::kNotResponding: return u"送信先が応答しません";
    case SendFailure::kDenied: return u"権限が違い送れません";
    case SendFailure::kUnsendableCharacter: return u"送れない文字があります";
    case SendFailure::kLineTooLong: return u"1行が長すぎます";
    case SendFailure::kLostForeground: return u"前面が変わり中止";
    case SendFailure::kInputRefused: return u"入力が拒否されました";
    case SendFailure::kPickedGone: return u"送信先が閉じられました";
    case SendFailure::kCount: break;
  }
  return {};
}

std::u16string_view FullReason(SendFailure failure) {
  switch (failure) {
    case SendFailure::kTargetGone: return u"送信先のウィンドウが見つかりません";
    case SendFailure::kNotResponding: return u"送信先が10秒間応答しません";
    case SendFailure::kDenied: return u"送信先のウィンドウに送れません（権限が違います）";
    case SendFailure::kUnsendableCharacter: return u"送信できない文字が含まれています";
    case SendFailure::kLineTooLong: return u"1行が長すぎて送信できません";
    case SendFailure::kLostForeground: return u"送信先が前面でなくなったので中止しました";
    case SendFailure::kInputRefused: return u"キー入力が拒否されました";
    case SendFailure::kPickedGone: return u"指定したウィンドウが閉じられました";
    case SendFailure::kCount: break;
  }
  return {};
}

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

StatusText StoppedText(std::int32_t sent, std::int32_t total) {
  const std::u16string left = Decimal(total - sent);
  return {Joined({Lines(sent, total), u"で中止（残り", left, u"行）"}),
          Joined({Lines(sent, total), u"を送信して中止しました。残りの", left, u"行はメッセージ欄にあります"})};
}

StatusText FailedText(SendFailure failure, std::int32_t sent, std::int32_t total) {
  return {Joined({ShortReason(failure), u"（", Lines(sent, total), u"済み）"}),
          Joined({FullReason(failure), u"（", Lines(sent, total), u"送信済み、残りの", Decimal(total - sent),
                  u"行はメッセージ欄にあります）"})};
}

}  // namespace kakehashi
