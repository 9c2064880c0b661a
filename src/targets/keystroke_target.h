// The window in front, typed into with keystrokes as today's chat programs (browsers,
// desktop apps) take text: Unicode key packets, and a real Enter to say a line.
#pragma once

#include <cstddef>
#include <cstdint>

#include <optional>
#include <vector>

#include "platform/window_ops.h"
#include "targets/send_target.h"
#include "targets/target_settings.h"

namespace kakehashi {

inline constexpr std::u16string_view kModifiersHeldText = u"Shift・Ctrl・Altを離してください";
inline constexpr std::u16string_view kModifiersHeldDetail =
    u"Shift・Ctrl・Alt・Windowsキーが押されています。離すと送信を続けます（5秒で中止）";
inline constexpr std::u16string_view kCannotBringToFrontText = u"送信先を前面にできません";
inline constexpr std::u16string_view kClipboardBusyText = u"クリップボードが使用中です";
inline constexpr std::u16string_view kClipboardBusyDetail =
    u"ほかのプログラムがクリップボードを開いたままです。少し待ってから送信してください";

// How long a send waits for held modifier keys to be released, before the first character
// and before every later one, and for the target to come to the front.
inline constexpr std::uint32_t kModifierWaitMs = 5000;
inline constexpr std::uint32_t kForegroundWaitMs = 2000;
// Round trips to the target's thread after each typed UTF-16 unit and after Enter. Each
// answered round trip lets the thread take at least one more message, mostly: a typed unit
// is three (the key down, the character its loop makes of it, the key up), and the program
// often repaints in between. Wine: with three round trips a unit, Notepad fell behind by
// up to 40 characters in 600; with five it stays within one. After Enter the line counts
// as said once the program has also painted its window (AwaitPaint), which it does only
// when nothing is left in its queue. Wine drops keys still queued for a window when it
// loses the foreground, and on Windows they stay with it: no fixed wait tells how far a
// program has come.
inline constexpr std::size_t kTripsPerUnit = 5;
inline constexpr std::size_t kTripsAfterEnter = 8;
// How long a pasted line may wait for the window's program to ask for it.
inline constexpr std::uint32_t kPasteWaitMs = 3000;

class KeystrokeTarget final : public SendTarget {
 public:
  // `window`: the top-level window to type into; `own_window`: the tool's, brought back to
  // the front after a send that went through; `stop`: the send's, which takes effect
  // between characters, since the user's own keys would go to the same window; `way`:
  // typed a character at a time, or pasted a line at a time.
  KeystrokeTarget(WindowOps& ops, Handle window, Handle own_window, std::uint32_t char_interval_ms, StopRequest& stop,
                  KeystrokeWay way = KeystrokeWay::kTyping)
      : ops_(ops), window_(window), own_window_(own_window), interval_ms_(char_interval_ms), stop_(stop), way_(way) {}

  TextRules Rules() const override { return TextRules::kUnicode; }
  std::u16string_view Unavailable() override;
  bool TypesWholeLines() const override { return way_ == KeystrokeWay::kPasting; }
  // The window must exist and not run with higher rights (its input would be dropped
  // silently); no modifier key may be held; pasting, the user's clipboard is saved; then
  // the window is restored if minimized and brought to the front.
  StatusText Begin(bool press) override;
  // Before every character the target must still be in front and not minimized, and no
  // modifier may be held (the send waits for it): the moment it is not, the send ends, so
  // nothing is ever typed into a window the user did not choose. Each character is taken
  // by the program before the next is typed.
  // Pasting, the line goes on the clipboard, Ctrl+V is pressed, and the line counts as
  // pasted once the window's program has asked for it (another program asking gets
  // nothing); an empty line is not pasted.
  bool Type(std::u16string_view text) override;
  // Enter, once the program has taken it and what it made of it.
  bool Press() override;
  bool Stopped() const override { return stopped_; }
  SendFailure Failure() const override { return failure_; }
  std::optional<std::size_t> TypedUnits() const override { return typed_; }
  // After a send that went through, every key has been taken: the tool comes back to the
  // front. After a stop the foreground is the user's. The user's clipboard comes back
  // either way.
  void End(bool delivered) override;

 private:
  // Before each key or paste: no stop asked for, the target in front and not minimized, no
  // modifier held (waited for); false, with the reason kept, when the send ends here.
  bool Ready();
  bool InFront();
  // Waits while a modifier key is held; false when the send ends instead.
  bool ModifiersReleased();
  bool CaughtUp(std::size_t trips);
  // Waits until the program has taken every key (its window painted after them).
  bool Drained(std::size_t trips);
  bool Pause();
  bool Paste(std::u16string_view line);

  WindowOps& ops_;
  Handle window_;
  Handle own_window_;
  std::uint32_t interval_ms_;
  StopRequest& stop_;
  KeystrokeWay way_;
  std::optional<std::vector<ClipboardFormat>> saved_clipboard_;
  bool stopped_ = false;
  SendFailure failure_ = SendFailure::kLostForeground;
  std::size_t typed_ = 0;
};

}  // namespace kakehashi
