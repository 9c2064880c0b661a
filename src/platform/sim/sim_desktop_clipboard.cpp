// The simulated desktop's clipboard: the user's content, the tool's offers and the
// programs that ask for them.
#include "platform/sim/sim_desktop.h"

#include <string>

namespace kakehashi::sim {
namespace {

constexpr std::uint32_t kUnicodeText = 13;  // CF_UNICODETEXT

std::string Bytes(std::u16string_view text) {
  std::string bytes;
  for (const char16_t unit : text) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

}  // namespace

void SimDesktop::SetClipboard(std::vector<ClipboardFormat> formats) {
  clipboard_ = std::move(formats);
  clipboard_ours_ = clipboard_marked_ = false;
  offered_.reset();
}

void SimDesktop::TakeClipboard(std::vector<ClipboardFormat> formats) { SetClipboard(std::move(formats)); }

void SimDesktop::SetPasteDelay(Handle window, std::optional<std::uint32_t> delay_ms) {
  if (Window* w = Find(window)) {
    w->pastes = delay_ms.has_value();
    w->paste_delay_ms = delay_ms.value_or(0);
  }
}

void SimDesktop::AddClipboardMonitor(std::uint32_t process, std::uint32_t delay_ms) {
  clipboard_monitors_.emplace_back(process, delay_ms);
}

std::optional<std::vector<ClipboardFormat>> SimDesktop::SaveClipboard() {
  if (clipboard_busy_) return std::nullopt;
  return clipboard_;
}

bool SimDesktop::OfferClipboardText(std::u16string_view text) {
  Event e;
  e.kind = Event::Kind::kClipboardOffer;
  e.text = std::u16string(text);
  e.time_ms = now_ms_;
  e.ok = !clipboard_busy_;
  events_.push_back(e);
  if (!e.ok) return false;
  clipboard_.clear();
  offered_ = std::u16string(text);
  clipboard_ours_ = clipboard_marked_ = true;
  for (const auto& [process, delay] : clipboard_monitors_) clipboard_asks_.emplace(now_ms_ + delay, ClipboardRead{process, {}});
  return true;
}

std::uint32_t SimDesktop::PressPasteKeys() {
  Event e;
  e.kind = Event::Kind::kPasteKeys;
  const Handle front = GetForegroundWindow();
  const Window* w = Find(front);
  const bool ok = Input(std::move(e), 4);
  if (ok && w && !w->iconic && w->pastes) clipboard_asks_.emplace(now_ms_ + w->paste_delay_ms, ClipboardRead{w->process, front});
  return ok ? 4 : 0;
}

void SimDesktop::CollectClipboardReads() {
  while (!clipboard_asks_.empty() && clipboard_asks_.begin()->first <= now_ms_) {
    clipboard_reads_.push_back(clipboard_asks_.begin()->second);
    clipboard_asks_.erase(clipboard_asks_.begin());
  }
}

std::optional<std::uint32_t> SimDesktop::AwaitClipboardRender(std::uint32_t milliseconds,
                                                              const std::function<bool(std::uint32_t)>& accept) {
  const std::uint64_t end = now_ms_ + milliseconds;
  for (;;) {
    CollectClipboardReads();
    // A program asks only while the offer stands; the tool answers while it waits here.
    while (!clipboard_reads_.empty()) {
      const ClipboardRead read = clipboard_reads_.front();
      clipboard_reads_.erase(clipboard_reads_.begin());
      if (!clipboard_ours_ || !offered_) continue;
      Event e;
      e.kind = Event::Kind::kClipboardRender;
      e.window = read.window;
      e.wparam = read.process;
      e.time_ms = now_ms_;
      e.ok = accept(read.process);
      events_.push_back(e);
      if (!e.ok) continue;
      clipboard_ = {{kUnicodeText, Bytes(*offered_)}};
      if (Window* w = Find(read.window)) w->typed += *offered_;
      offered_.reset();
      return read.process;
    }
    if (now_ms_ >= end) return std::nullopt;
    const std::uint64_t next = clipboard_asks_.empty() ? end : std::min(end, clipboard_asks_.begin()->first);
    StopRequest none;
    RunUntil(std::max(next, now_ms_ + 1), none);
  }
}

bool SimDesktop::RestoreClipboard(const std::vector<ClipboardFormat>& formats) {
  Event e;
  e.kind = Event::Kind::kClipboardRestore;
  e.time_ms = now_ms_;
  e.ok = clipboard_ours_ && !clipboard_busy_;
  events_.push_back(e);
  if (!e.ok) return false;
  clipboard_ = formats;
  offered_.reset();
  clipboard_marked_ = true;
  return true;
}

}  // namespace kakehashi::sim
