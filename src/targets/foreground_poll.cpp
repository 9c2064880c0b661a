// The foreground window poll: recognises the Messenger conversation window and the chat
// inside an Internet Explorer window by their class names and records their windows.
#include "targets/foreground_poll.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "platform/code_page.h"

namespace kakehashi {
namespace {

constexpr int kClassNameCapacity = 200;
constexpr int kMessengerTitleCapacity = 200;
constexpr int kBrowserTitleCapacity = 31;

constexpr std::string_view kMessengerClass = "IMWindowClass";
constexpr std::string_view kBrowserClass = "IEFrame";

// The class name as the poll sees it: a buffer of blanks into which the platform wrote the
// name. When there is no window or the read fails the blanks stay, and no prefix matches.
std::string ClassNameBuffer(WindowOps& ops, Handle window) {
  std::string buffer(static_cast<std::size_t>(kClassNameCapacity), ' ');
  if (window) {
    const std::string name = ops.GetClassNameA(window, kClassNameCapacity);
    buffer.replace(0, std::min(name.size(), buffer.size() - 1), name, 0, buffer.size() - 1);
  }
  return buffer;
}

// Ordinal, case-sensitive prefix test on the buffer.
bool BeginsWith(const std::string& buffer, std::string_view prefix) {
  return buffer.compare(0, prefix.size(), prefix) == 0;
}

void ShowTitle(WindowOps& ops, TargetCaptionView& view, Handle window, int capacity) {
  view.SetTargetStatus(FromAnsi(ops.GetWindowTextA(window, capacity)));
}

void RecordMessenger(WindowOps& ops, TargetCaptionView& view, TargetWindows& targets, Handle window) {
  targets.TargetIsMessenger = true;
  ShowTitle(ops, view, window, kMessengerTitleCapacity);
  targets.TargetEdit = window;
  targets.TargetHost = window;
  targets.TargetSendButton = ops.FindWindowExA(window, kNoWindow, "button");
}

// Walks frame > document view > page > chat control; each search runs only on a window
// just found, and every step stores exactly what it found before the walk stops.
void RecordChat(WindowOps& ops, TargetCaptionView& view, TargetWindows& targets, Handle frame) {
  targets.TargetIsMessenger = false;
  ShowTitle(ops, view, frame, kBrowserTitleCapacity);
  const Handle document_view = ops.FindWindowExA(frame, kNoWindow, "Shell DocObject View");
  if (!document_view) return;
  const Handle page = ops.FindWindowExA(document_view, kNoWindow, "Internet Explorer_Server");
  if (!page) return;
  const Handle chat_control = ops.FindWindowExA(page, kNoWindow, "#32770");
  targets.TargetHost = chat_control;
  if (!chat_control) return;
  const Handle input_frame = ops.FindWindowExA(chat_control, kNoWindow, "ATL:3723F798");
  targets.TargetSendButton = ops.FindWindowExA(targets.TargetHost, kNoWindow, "SubclassButton");
  if (!input_frame) return;
  if (const Handle input_box = ops.FindWindowExA(input_frame, kNoWindow, "MSNChatEdit4")) {
    targets.TargetEdit = input_box;
  }
}

}  // namespace

void PollForegroundWindow(WindowOps& ops, TargetCaptionView& view, TargetWindows& targets) {
  const Handle window = ops.GetForegroundWindow();
  const std::string class_name = ClassNameBuffer(ops, window);
  if (BeginsWith(class_name, kMessengerClass)) {
    RecordMessenger(ops, view, targets, window);
  } else if (BeginsWith(class_name, kBrowserClass)) {
    RecordChat(ops, view, targets, window);
  }
}

namespace {

// The desktop and the taskbars are in front when the user clicks them; nothing is typed
// there.
constexpr std::string_view kShellClasses[] = {"Progman", "WorkerW", "Shell_TrayWnd", "Shell_SecondaryTrayWnd", "#32769"};
constexpr int kCaptionCapacity = 512;

}  // namespace

void PollFrontWindow(WindowOps& ops, TargetCaptionView& view, FrontWindow& front) {
  const Handle window = ops.GetForegroundWindow();
  if (!window) return;
  if (ops.WindowProcessId(window) == ops.CurrentProcessId()) {
    front.held = false;
    return;
  }
  if (front.held || window == ops.GetDesktopWindow()) return;
  const std::string class_name = ops.GetClassNameA(window, kClassNameCapacity);
  for (const std::string_view shell : kShellClasses) {
    if (class_name == shell) return;
  }
  front.window = window;
  view.SetTargetStatus(ops.GetWindowTextW(window, kCaptionCapacity));
}

}  // namespace kakehashi
