// The status texts of a send under way and of its end. The status box is narrow: each
// comes short, for the box, and in full, for its tooltip.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "targets/target_status.h"

namespace kakehashi {

// How the line under way was left in the message box when a send ended inside it.
enum class LineCut {
  kNone,   // nothing of it went out: it stands whole, as the lines after it
  kRest,   // it stands as the part still to be typed: a resend goes on where it ended
  kWhole,  // part of it went out, but no rest can be resent exactly: it stands whole
};

// `n` in decimal digits (negative numbers as 0). The C library's wide formatting would
// add ten kilobytes to the program for this.
std::u16string Decimal(std::int32_t n);

// "送信中… 3/40行": `sent` of `total` lines have gone out whole.
std::u16string ProgressText(std::int32_t sent, std::int32_t total);
// "3/40行で中止（残り37行）"; "4行目の途中で中止" when the send ended inside line 4.
StatusText StoppedText(std::int32_t sent, std::int32_t total, LineCut cut = LineCut::kNone);
// "送信先が見つかりません（3/40行済み）"; "前面が変わり中止（4行目の途中）".
StatusText FailedText(SendFailure failure, std::int32_t sent, std::int32_t total, LineCut cut = LineCut::kNone);

}  // namespace kakehashi
