// What the user chose in the 送信先 window: the kind of target, the pause after each
// character, and the window picked for background sends. Kept for the run only.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/handle.h"

namespace kakehashi {

enum class TargetKind {
  kChat,          // the chat windows found by the poll; posted WM_IME_CHAR (the default)
  kKeystrokes,    // the window in front, typed into with keystrokes
  kPickedWindow,  // a window the user picked, posted to in the background
};

// How the window in front gets a line: typed a character at a time, or pasted whole.
enum class KeystrokeWay { kTyping, kPasting };

// How a line sent to a picked window is said.
enum class PickedPress { kEnter, kButton, kNone };

// The windows picked for background sends. A handle can be reused once its window is
// gone: the process is recorded with it, and both are checked before a send.
struct PickedWindow {
  Handle input;                   // the input box
  std::uint32_t input_process = 0;
  Handle button;                  // the send button, optional
  std::uint32_t button_process = 0;
};

inline constexpr std::uint32_t kLongestCharIntervalMs = 1000;

struct TargetSettings {
  TargetKind kind = TargetKind::kChat;
  std::uint32_t char_interval_ms = 0;  // 0 to kLongestCharIntervalMs
  PickedWindow picked;
  PickedPress press = PickedPress::kEnter;
  KeystrokeWay keys_way = KeystrokeWay::kTyping;
};

// The status line's text when the kind changes.
constexpr std::u16string_view TargetKindStatus(TargetKind kind) {
  switch (kind) {
    case TargetKind::kChat: return u"送信先：チャット画面（自動）";
    case TargetKind::kKeystrokes: return u"送信先：前面のウィンドウ（キー入力）";
    case TargetKind::kPickedWindow: return u"送信先：指定したウィンドウ（バックグラウンド）";
  }
  return {};
}

}  // namespace kakehashi
