// The 送信先 window's rules that need no window: the character interval box, the words
// that describe the picked windows, and the window's status texts.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kakehashi {

inline constexpr std::u16string_view kStatusIntervalRange = u"0〜1000 の数値を入力してください";
inline constexpr std::u16string_view kStatusOwnWindow = u"このツールのウィンドウは指定できません";
inline constexpr std::u16string_view kStatusNoWindowThere = u"そこにはウィンドウがありません";
inline constexpr std::u16string_view kStatusNoFrontWindow = u"前面にウィンドウがありません";
inline constexpr std::u16string_view kStatusNoFocus = u"前面のウィンドウに入力中の欄がありません";
inline constexpr std::u16string_view kStatusDragHint = u"十字を目的の欄までドラッグしてください";
inline constexpr std::u16string_view kStatusCountdown = u"3秒以内に目的の欄をクリックしてください";
inline constexpr std::u16string_view kStatusCountdownStopped = u"指定をやめました";

// The character interval typed in the box: ASCII or full-width digits only, 0 to 1000
// (kLongestCharIntervalMs); nothing for any other text.
std::optional<std::uint32_t> ParseCharInterval(std::u16string_view text);

// What the tool read of a picked window when the window was described.
struct WindowFacts {
  enum class State { kNotPicked, kGone, kPresent };
  State state = State::kNotPicked;
  std::u16string class_name;
  std::u16string caption;         // its own (a button's text)
  std::u16string window_caption;  // its top-level window's
  std::u16string program;  // the program's file name, without its folder
  bool unicode = false;    // the window takes Unicode characters (else code page 932)
};

// The picked input box and send button in words, lines ending in CR LF, for the
// read-only box of the window.
std::u16string DescribePicked(const WindowFacts& input, const WindowFacts& button);

// The file name part of a full path ("C:\Windows\notepad.exe" gives "notepad.exe").
std::u16string ProgramFileName(std::u16string_view path);

// The status line after a pick: the caption of the picked window's top-level window.
std::u16string PickedStatus(std::u16string_view top_level_caption);

// A delayed pick's button while it counts down: "あと 3 秒".
std::u16string CountdownCaption(int seconds);

}  // namespace kakehashi
