// The simulated desktop's programs, keyboard and foreground: what keystroke and
// picked-window sends use.
#include "platform/sim/sim_desktop.h"

#include <algorithm>

#include "platform/code_page.h"

namespace kakehashi::sim {

void SimDesktop::SetProcess(Handle window, std::uint32_t process) {
  Window* w = Find(window);
  if (!w) return;
  w->process = process;
  for (const Handle child : w->children) SetProcess(child, process);
}

void SimDesktop::SetTitleW(Handle window, std::u16string title) {
  if (Window* w = Find(window)) {
    w->wide_title = std::move(title);
    w->has_wide_title = true;
  }
}

void SimDesktop::SetUnicode(Handle window, bool unicode) {
  if (Window* w = Find(window)) w->unicode = unicode;
}

void SimDesktop::SetStyle(Handle window, std::uint32_t style) {
  if (Window* w = Find(window)) w->style = style;
}

std::u16string SimDesktop::TypedInto(Handle window) const {
  const auto it = windows_.find(window);
  return it == windows_.end() ? std::u16string() : it->second.typed;
}

bool SimDesktop::IsWindow(Handle window) { return Find(window) != nullptr; }

std::uint32_t SimDesktop::WindowProcessId(Handle window) {
  const Window* w = Find(window);
  return w ? w->process : 0;
}

std::uint32_t SimDesktop::CurrentProcessId() { return kOwnProcess; }

std::u16string SimDesktop::GetWindowTextW(Handle window, int capacity) {
  const Window* w = Find(window);
  if (!w || capacity < 1) return {};
  const std::u16string title = w->has_wide_title ? w->wide_title : FromAnsi(w->title);
  return title.substr(0, static_cast<std::size_t>(capacity - 1));
}

bool SimDesktop::IsWindowUnicode(Handle window) {
  const Window* w = Find(window);
  return w && w->unicode;
}

std::uint32_t SimDesktop::WindowStyle(Handle window) {
  const Window* w = Find(window);
  return w ? w->style : 0;
}

Handle SimDesktop::GetParent(Handle window) {
  const Window* w = Find(window);
  return w ? w->parent : kNoWindow;
}

PostResult SimDesktop::PostMessageW(Handle window, std::uint32_t message, std::uintptr_t wparam,
                                    std::intptr_t lparam) {
  return Post(window, message, wparam, lparam, true);
}

std::uint32_t SimDesktop::EnterScanCode() { return 0x1C; }

void SimDesktop::SetForegroundWindow(Handle window) {
  Event e;
  e.kind = Event::Kind::kForeground;
  e.window = window;
  e.time_ms = now_ms_;
  e.ok = !foreground_refused_ && Find(window) != nullptr;
  events_.push_back(e);
  if (e.ok) foreground_ = window;
}

bool SimDesktop::Input(Event e, std::size_t events) {
  e.window = GetForegroundWindow();
  e.time_ms = now_ms_;
  e.ok = events <= input_limit_;
  if (e.ok) {
    input_limit_ -= input_limit_ == static_cast<std::size_t>(-1) ? 0 : events;
    if (Window* w = Find(e.window)) w->typed += e.kind == Event::Kind::kEnterKey ? u"\r" : e.text;
  } else {
    input_limit_ = 0;
  }
  events_.push_back(e);
  if (post_hook_) post_hook_(events_.back());
  return e.ok;
}

std::uint32_t SimDesktop::TypeUnicode(std::u16string_view units) {
  Event e;
  e.kind = Event::Kind::kInput;
  e.text = std::u16string(units);
  const std::size_t events = units.size() * 2;
  return Input(std::move(e), events) ? static_cast<std::uint32_t>(events) : 0;
}

std::uint32_t SimDesktop::PressEnterKey() {
  Event e;
  e.kind = Event::Kind::kEnterKey;
  return Input(std::move(e), 2) ? 2 : 0;
}

bool SimDesktop::ModifierKeysHeld() { return now_ms_ < modifiers_until_; }

void SimDesktop::WaitForInputIdle(Handle window, std::uint32_t milliseconds) {
  Event e;
  e.kind = Event::Kind::kIdleWait;
  e.window = window;
  e.milliseconds = milliseconds;
  e.time_ms = now_ms_;
  events_.push_back(e);
}

}  // namespace kakehashi::sim
