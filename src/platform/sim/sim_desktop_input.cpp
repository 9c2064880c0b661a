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
  if (e.ok) MoveForeground(window);
}

void SimDesktop::MoveForeground(Handle window) {
  if (window == foreground_) return;
  if (Thread* thread = ThreadOf(foreground_)) {
    auto& queue = thread->queue;
    const auto is_key = [](const Event& q) { return q.kind == Event::Kind::kInput || q.kind == Event::Kind::kEnterKey; };
    const auto keys = static_cast<std::size_t>(std::count_if(queue.begin(), queue.end(), is_key));
    queue.erase(std::remove_if(queue.begin(), queue.end(), is_key), queue.end());
    if (Window* w = Find(foreground_)) w->dropped_keys += keys;
  }
  foreground_ = window;
}

namespace {

void AddTyped(std::u16string& typed, const Event& e) { typed += e.kind == Event::Kind::kEnterKey ? u"\r" : e.text; }

}  // namespace

bool SimDesktop::Input(Event e, std::size_t events) {
  e.window = GetForegroundWindow();
  e.time_ms = now_ms_;
  e.ok = events <= input_limit_;
  if (e.ok) {
    input_limit_ -= input_limit_ == static_cast<std::size_t>(-1) ? 0 : events;
    if (Window* w = Find(e.window)) {
      if (w->iconic) {
        ++w->dropped_keys;
      } else if (Thread* thread = ThreadOf(e.window)) {
        thread->queue.push_back(e);
      } else {
        AddTyped(w->typed, e);
      }
    }
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

void SimDesktop::SetIconic(Handle window, bool iconic) {
  if (Window* w = Find(window)) w->iconic = iconic;
}

bool SimDesktop::IsIconic(Handle window) {
  const Window* w = Find(window);
  return w && w->iconic;
}

void SimDesktop::RestoreWindow(Handle window) {
  Event e;
  e.kind = Event::Kind::kRestore;
  e.window = window;
  e.time_ms = now_ms_;
  events_.push_back(e);
  SetIconic(window, false);
}

Handle SimDesktop::RootWindow(Handle window) {
  const Window* w = Find(window);
  if (!w) return kNoWindow;
  while (Find(w->parent)) {
    window = w->parent;
    w = Find(window);
  }
  return window;
}

void SimDesktop::SetBusyThread(const std::vector<Handle>& windows) {
  threads_.emplace_back();
  std::vector<Handle> todo = windows;
  while (!todo.empty()) {
    const Handle window = todo.back();
    todo.pop_back();
    thread_of_[window] = threads_.size() - 1;
    if (const Window* w = Find(window)) todo.insert(todo.end(), w->children.begin(), w->children.end());
  }
}

void SimDesktop::SetHung(Handle window, bool hung) {
  if (Window* w = Find(window)) w->hung = hung;
}

SimDesktop::Thread* SimDesktop::ThreadOf(Handle window) {
  const auto it = thread_of_.find(window);
  return it == thread_of_.end() ? nullptr : &threads_[it->second];
}

const SimDesktop::Thread* SimDesktop::ThreadOf(Handle window) const {
  const auto it = thread_of_.find(window);
  return it == thread_of_.end() ? nullptr : &threads_[it->second];
}

std::vector<Event> SimDesktop::Taken(Handle window) const {
  const Thread* thread = ThreadOf(window);
  return thread ? thread->taken : std::vector<Event>();
}

std::size_t SimDesktop::Pending(Handle window) const {
  const Thread* thread = ThreadOf(window);
  return thread ? thread->queue.size() : 0;
}

std::size_t SimDesktop::DroppedKeys(Handle window) const {
  const auto it = windows_.find(window);
  return it == windows_.end() ? 0 : it->second.dropped_keys;
}

void SimDesktop::Take(Thread& thread) {
  if (thread.queue.empty()) {
    thread.paint_pending = thread.paint_pending && thread.never_paints;
    return;
  }
  Event e = std::move(thread.queue.front());
  thread.queue.pop_front();
  if (e.kind == Event::Kind::kInput || e.kind == Event::Kind::kEnterKey) {
    if (Window* w = Find(e.window)) AddTyped(w->typed, e);
  } else if (e.kind == Event::Kind::kPost && e.message == kWmKeyDown && e.wparam == kVkReturn) {
    // Win32: TranslateMessage posts the character of the key behind the queue's messages.
    Event translated = e;
    translated.message = kWmChar;
    translated.wparam = u'\r';
    thread.queue.push_back(translated);
  }
  thread.taken.push_back(std::move(e));
}

bool SimDesktop::RoundTrip(Handle window, std::uint32_t timeout_ms) {
  Event e;
  e.kind = Event::Kind::kRoundTrip;
  e.window = window;
  e.milliseconds = timeout_ms;
  e.time_ms = now_ms_;
  const Window* w = Find(window);
  e.ok = w && !w->hung;
  events_.push_back(e);
  if (w && w->hung) {
    StopRequest none;
    RunUntil(now_ms_ + timeout_ms, none);
  }
  if (!e.ok) return false;
  if (Thread* thread = ThreadOf(window)) Take(*thread);
  return true;
}

void SimDesktop::SetNeverPaints(Handle window) {
  if (Thread* thread = ThreadOf(window)) thread->never_paints = true;
}

bool SimDesktop::RequestPaint(Handle window) {
  Thread* thread = ThreadOf(window);
  const Window* w = Find(window);
  if (!thread || !w || w->iconic) return false;
  thread->paint_pending = true;
  return true;
}

bool SimDesktop::PaintPending(Handle window) {
  const Thread* thread = ThreadOf(window);
  return thread && Find(window) && thread->paint_pending;
}

}  // namespace kakehashi::sim
