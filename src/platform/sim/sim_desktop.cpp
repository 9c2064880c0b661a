// The simulated desktop.
#include "platform/sim/sim_desktop.h"

#include <algorithm>
#include <cstring>

#include "platform/code_page.h"

namespace kakehashi::sim {
namespace {

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameClass(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

std::string Cut(const std::string& text, int capacity) {
  if (capacity < 1) return {};
  return text.substr(0, std::min(text.size(), static_cast<std::size_t>(capacity - 1)));
}

}  // namespace

SimDesktop::SimDesktop() { desktop_ = AddWindow(kNoWindow, "#32769"); }

Handle SimDesktop::AddWindow(Handle parent, std::string class_name, std::string title, int control_id) {
  const Handle handle(next_handle_);
  next_handle_ += 0x22;
  Window w;
  w.parent = parent;
  w.class_name = std::move(class_name);
  w.title = std::move(title);
  w.control_id = control_id;
  if (const Window* p = Find(parent)) w.process = p->process;
  windows_.emplace(handle, std::move(w));
  if (Window* p = Find(parent)) p->children.push_back(handle);
  return handle;
}

Handle SimDesktop::AddEdit(Handle parent, std::u16string text) {
  const Handle handle = AddWindow(parent, "Edit");
  Window* w = Find(handle);
  w->is_edit = true;
  w->edit_text = std::move(text);
  return handle;
}

void SimDesktop::SetEditText(Handle edit, std::u16string text) {
  if (Window* w = Find(edit)) w->edit_text = std::move(text);
}

std::u16string SimDesktop::EditText(Handle edit) const {
  const Window* w = Find(edit);
  return w ? w->edit_text : std::u16string();
}

void SimDesktop::SetTitle(Handle window, std::string title) {
  if (Window* w = Find(window)) w->title = std::move(title);
}

void SimDesktop::SetForeground(Handle window) { MoveForeground(window); }

void SimDesktop::Destroy(Handle window) {
  Window* w = Find(window);
  if (!w) return;
  w->alive = false;
  for (Handle child : w->children) Destroy(child);
}

void SimDesktop::SetReceiver(const std::vector<Handle>& windows, std::size_t quota, double per_ms) {
  receivers_.push_back(Receiver{quota, per_ms, 0, 0});
  for (Handle w : windows) receiver_of_[w] = receivers_.size() - 1;
}

std::size_t SimDesktop::Queued(Handle window) const {
  const auto it = receiver_of_.find(window);
  return it == receiver_of_.end() ? 0 : receivers_[it->second].queued;
}

void SimDesktop::DenyPosts(Handle window, std::uint32_t error) {
  if (Window* w = Find(window)) w->deny_error = error;
}

void SimDesktop::At(std::uint64_t time_ms, std::function<void()> action) {
  actions_.emplace(time_ms, std::move(action));
}

SimDesktop::Receiver* SimDesktop::ReceiverOf(Handle window) {
  const auto it = receiver_of_.find(window);
  return it == receiver_of_.end() ? nullptr : &receivers_[it->second];
}

void SimDesktop::AdvanceTo(std::uint64_t time_ms) {
  if (time_ms <= now_ms_) return;
  const auto elapsed = static_cast<double>(time_ms - now_ms_);
  for (Receiver& r : receivers_) {
    r.taken_credit += elapsed * r.per_ms;
    const auto can_take = static_cast<std::size_t>(r.taken_credit);
    const std::size_t taken = std::min(can_take, r.queued);
    r.queued -= taken;
    // An idle receiver does not save up: what it could have taken while empty is lost.
    r.taken_credit = r.queued == 0 ? 0 : r.taken_credit - static_cast<double>(taken);
  }
  now_ms_ = time_ms;
}

bool SimDesktop::Exists(Handle window) const { return Find(window) != nullptr; }

std::vector<Event> SimDesktop::Posts() const {
  std::vector<Event> posts;
  for (const Event& e : events_) {
    if (e.kind == Event::Kind::kPost && e.ok) posts.push_back(e);
  }
  return posts;
}

SimDesktop::Window* SimDesktop::Find(Handle window) {
  auto it = windows_.find(window);
  return it != windows_.end() && it->second.alive ? &it->second : nullptr;
}

const SimDesktop::Window* SimDesktop::Find(Handle window) const {
  auto it = windows_.find(window);
  return it != windows_.end() && it->second.alive ? &it->second : nullptr;
}

std::vector<std::u16string> SimDesktop::EditLines(const Window& edit) const {
  // The edit control breaks lines at CR LF only; a text ending in a break has an empty
  // last line, and an empty text is one empty line.
  std::vector<std::u16string> lines;
  std::u16string_view text = edit.edit_text;
  for (;;) {
    const std::size_t at = text.find(u"\r\n");
    lines.emplace_back(text.substr(0, at));
    if (at == std::u16string_view::npos) break;
    text.remove_prefix(at + 2);
  }
  return lines;
}

Handle SimDesktop::GetForegroundWindow() { return Find(foreground_) ? foreground_ : kNoWindow; }

std::string SimDesktop::GetClassNameA(Handle window, int capacity) {
  const Window* w = Find(window);
  return w ? Cut(w->class_name, capacity) : std::string();
}

std::string SimDesktop::GetWindowTextA(Handle window, int capacity) {
  const Window* w = Find(window);
  return w ? Cut(w->title, capacity) : std::string();
}

Handle SimDesktop::FindWindowExA(Handle parent, Handle child_after, std::string_view class_name) {
  const Window* p = Find(parent);
  if (!p) return kNoWindow;
  auto it = p->children.begin();
  if (child_after) {
    it = std::find(p->children.begin(), p->children.end(), child_after);
    if (it == p->children.end()) return kNoWindow;
    ++it;
  }
  for (; it != p->children.end(); ++it) {
    const Window* c = Find(*it);
    if (c && SameClass(c->class_name, class_name)) return *it;
  }
  return kNoWindow;
}

std::intptr_t SimDesktop::SendMessageA(Handle window, std::uint32_t message, std::uintptr_t wparam,
                                       std::intptr_t lparam) {
  Event e;
  e.kind = Event::Kind::kSend;
  e.window = window;
  e.message = message;
  e.wparam = wparam;
  e.lparam = lparam;
  e.time_ms = now_ms_;
  events_.push_back(e);

  const Window* w = Find(window);
  if (!w || !w->is_edit) return 0;
  const std::vector<std::u16string> lines = EditLines(*w);
  if (message == kEmGetLineCount) return static_cast<std::intptr_t>(lines.size());
  if (message == kEmGetLine) {
    if (wparam >= lines.size() || lparam == 0) return 0;
    auto* buffer = reinterpret_cast<unsigned char*>(lparam);
    std::uint16_t capacity = 0;
    std::memcpy(&capacity, buffer, sizeof capacity);
    // Win32: the box converts with best fit, which gives a look-alike of a code page
    // character '?' or some other character, never that character's code.
    std::u16string line = lines[wparam];
    for (char16_t& ch : line) {
      if (CodePageFormOf(ch) != ch) ch = u'?';
    }
    const std::string bytes = ToAnsi(line);
    const std::size_t count = std::min<std::size_t>(capacity, bytes.size());
    std::memcpy(buffer, bytes.data(), count);
    if (getline_terminator_ && count < capacity) buffer[count] = 0;
    return static_cast<std::intptr_t>(count);
  }
  return 0;
}

PostResult SimDesktop::PostMessageA(Handle window, std::uint32_t message, std::uintptr_t wparam,
                                    std::intptr_t lparam) {
  return Post(window, message, wparam, lparam, false);
}

PostResult SimDesktop::Post(Handle window, std::uint32_t message, std::uintptr_t wparam, std::intptr_t lparam,
                            bool wide) {
  Event e;
  e.kind = Event::Kind::kPost;
  e.wide = wide;
  e.window = window;
  e.message = message;
  e.wparam = wparam;
  e.lparam = lparam;
  e.time_ms = now_ms_;
  const Window* w = Find(window);
  Receiver* receiver = ReceiverOf(window);
  if (!w) {
    e.error = kErrorInvalidWindowHandle;
  } else if (w->deny_error != 0) {
    e.error = w->deny_error;
  } else if (receiver && receiver->queued >= receiver->quota) {
    e.error = kErrorNotEnoughQuota;
  } else if (receiver) {
    ++receiver->queued;
  }
  e.ok = e.error == 0;
  if (Thread* thread = e.ok ? ThreadOf(window) : nullptr) thread->queue.push_back(e);
  events_.push_back(e);
  if (post_hook_) post_hook_(e);
  return PostResult{e.error};
}

int SimDesktop::GetDlgCtrlID(Handle window) {
  const Window* w = Find(window);
  return w ? w->control_id : 0;
}

bool SimDesktop::Sleep(std::uint32_t milliseconds, StopRequest& stop) {
  const std::size_t index = events_.size();
  Event e;
  e.kind = Event::Kind::kSleep;
  e.milliseconds = milliseconds;
  e.time_ms = now_ms_;
  events_.push_back(e);
  if (RunUntil(now_ms_ + milliseconds, stop)) return true;
  events_[index].cut_short = true;
  return false;
}

bool SimDesktop::RunUntil(std::uint64_t end, StopRequest& stop) {
  for (;;) {
    // Actions that fall due run now, each once, in order of time.
    while (!actions_.empty() && actions_.begin()->first <= now_ms_) {
      const std::function<void()> action = std::move(actions_.begin()->second);
      actions_.erase(actions_.begin());
      action();
    }
    if (stop.requested()) return false;
    if (now_ms_ >= end) return true;
    const std::uint64_t next = actions_.empty() ? end : std::min(end, actions_.begin()->first);
    AdvanceTo(next);
  }
}

Handle SimDesktop::GetDesktopWindow() { return desktop_; }

void SimDesktop::ShellExecuteA(Handle owner, std::string_view operation, std::string_view file,
                               std::string_view parameters, std::string_view directory, int show_command) {
  Event e;
  e.kind = Event::Kind::kShellExecute;
  e.window = owner;
  e.operation = operation;
  e.file = file;
  e.parameters = parameters;
  e.directory = directory;
  e.show_command = show_command;
  e.time_ms = now_ms_;
  events_.push_back(e);
}

}  // namespace kakehashi::sim

namespace kakehashi::sim {

std::uint64_t SimDesktop::TickCount() { return now_ms_; }

bool SimDesktop::RunsAboveUs(Handle window) {
  const Window* w = Find(window);
  return w && w->alive && w->above_us;
}

std::uint32_t SimDesktop::AnsiCodePage() { return code_page_; }

void SimDesktop::SetRunsAboveUs(Handle window) {
  if (Window* w = Find(window)) w->above_us = true;
}

}  // namespace kakehashi::sim
