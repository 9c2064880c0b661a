// Shared pieces of the delivery tests: a simulated desktop with a chat window and a
// Messenger window, the posted steps as the chat program sees them, and expected steps.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "text/text_shaping.h"
#include "platform/sim/sim_desktop.h"
#include "platform/sim/sim_main_window.h"
#include "targets/target_windows.h"

namespace kakehashi::testing {

inline constexpr int kChatButtonId = 0x3EB;

// One thing the chat program or the clock sees: a character, a press or a sleep.
struct Step {
  enum class Kind { kChar, kPress, kSleep, kOther };
  Kind kind = Kind::kOther;
  std::int64_t value = 0;  // character code, control id or milliseconds
  Handle window;           // receiver of a post
  bool ok = true;          // whether the post was accepted

  friend bool operator==(const Step&, const Step&) = default;
  friend std::ostream& operator<<(std::ostream& os, const Step& s) {
    static const char* const kNames[] = {"char", "press", "sleep", "other"};
    os << kNames[static_cast<int>(s.kind)] << '(' << std::hex << static_cast<std::uint32_t>(s.value) << std::dec;
    if (s.kind != Kind::kSleep) os << " to " << std::hex << s.window.value << std::dec;
    return os << (s.ok ? ")" : " FAILED)");
  }
};

// Posts (accepted or not) and sleeps, in order, with wParam taken back to the signed code.
inline std::vector<Step> Recorded(const sim::SimDesktop& desktop) {
  std::vector<Step> steps;
  for (const sim::Event& e : desktop.events()) {
    Step s;
    if (e.kind == sim::Event::Kind::kSleep) {
      s.kind = Step::Kind::kSleep;
      s.value = e.milliseconds;
    } else if (e.kind == sim::Event::Kind::kPost) {
      s.window = e.window;
      s.ok = e.ok;
      if (e.message == kWmImeChar && e.lparam == 0) {
        s.kind = Step::Kind::kChar;
        s.value = static_cast<std::int32_t>(static_cast<std::uint32_t>(e.wparam));
        // The upper half of a 64-bit wParam must be the sign extension of the code.
        if (static_cast<std::int64_t>(static_cast<std::intptr_t>(e.wparam)) != s.value) s.kind = Step::Kind::kOther;
      } else if (e.message == kWmCommand && e.lparam == 0) {
        s.kind = Step::Kind::kPress;
        s.value = static_cast<std::int64_t>(e.wparam);
      }
    } else {
      continue;
    }
    steps.push_back(s);
  }
  return steps;
}

// Builds the steps a send should give.
class Expect {
 public:
  explicit Expect(const TargetWindows& targets) : targets_(targets) {}

  Expect& Text(std::u16string_view text) {
    for (const std::int32_t code : CharCodes(text)) Code(code);
    return *this;
  }
  Expect& Code(std::int32_t code) {
    steps_.push_back({Step::Kind::kChar, code, targets_.TargetEdit, true});
    return *this;
  }
  Expect& Sleep(std::uint32_t ms) {
    steps_.push_back({Step::Kind::kSleep, ms, kNoWindow, true});
    return *this;
  }
  Expect& Press(int id) {
    steps_.push_back({Step::Kind::kPress, id, targets_.TargetHost, true});
    return *this;
  }
  // One line of modes 1 and 2: header, shaped text, footer, delay, press.
  Expect& Line(std::u16string_view header, std::u16string_view shaped, std::u16string_view footer,
               std::uint32_t ms, int id) {
    return Text(header).Text(shaped).Text(footer).Sleep(ms).Press(id);
  }
  const std::vector<Step>& steps() const { return steps_; }

 private:
  TargetWindows targets_;
  std::vector<Step> steps_;
};

// A main window that passes every call on to `base`; tests override what they change.
class ForwardingView : public MainWindowView {
 public:
  explicit ForwardingView(MainWindowView& base) : base_(base) {}
  std::u16string MessageText() const override { return base_.MessageText(); }
  void SetMessageText(const std::u16string& text) override { base_.SetMessageText(text); }
  void ReplaceMessageText(const std::u16string& text) override { base_.ReplaceMessageText(text); }
  Handle MessageWindow() const override { return base_.MessageWindow(); }
  Handle MainWindow() const override { return base_.MainWindow(); }
  bool OptionSelected(ModeOption option) const override { return base_.OptionSelected(option); }
  int CheckValue(CheckBox box) const override { return base_.CheckValue(box); }
  std::u16string PlusWordText() const override { return base_.PlusWordText(); }
  std::u16string WaitText() const override { return base_.WaitText(); }
  std::u16string StatusText() const override { return base_.StatusText(); }
  void SetStatus(const std::u16string& text) override { base_.SetStatus(text); }
  void SetStatus(const std::u16string& text, const std::u16string& detail) override { base_.SetStatus(text, detail); }
  void SetTargetStatus(const std::u16string& caption) override { base_.SetTargetStatus(caption); }
  void ShowTargetStatus() override { base_.ShowTargetStatus(); }

 private:
  MainWindowView& base_;
};

// Window operations that pass every call on to `base`; tests override what they change.
class ForwardingOps : public WindowOps {
 public:
  explicit ForwardingOps(WindowOps& base) : base_(base) {}
  Handle GetForegroundWindow() override { return base_.GetForegroundWindow(); }
  std::string GetClassNameA(Handle w, int n) override { return base_.GetClassNameA(w, n); }
  std::string GetWindowTextA(Handle w, int n) override { return base_.GetWindowTextA(w, n); }
  Handle FindWindowExA(Handle p, Handle a, std::string_view c) override { return base_.FindWindowExA(p, a, c); }
  std::intptr_t SendMessageA(Handle w, std::uint32_t m, std::uintptr_t wp, std::intptr_t lp) override {
    return base_.SendMessageA(w, m, wp, lp);
  }
  PostResult PostMessageA(Handle w, std::uint32_t m, std::uintptr_t wp, std::intptr_t lp) override {
    return base_.PostMessageA(w, m, wp, lp);
  }
  int GetDlgCtrlID(Handle w) override { return base_.GetDlgCtrlID(w); }
  bool Sleep(std::uint32_t ms, StopRequest& stop) override { return base_.Sleep(ms, stop); }
  std::uint64_t TickCount() override { return base_.TickCount(); }
  bool RunsAboveUs(Handle w) override { return base_.RunsAboveUs(w); }
  std::uint32_t AnsiCodePage() override { return base_.AnsiCodePage(); }
  bool IsWindow(Handle w) override { return base_.IsWindow(w); }
  std::uint32_t WindowProcessId(Handle w) override { return base_.WindowProcessId(w); }
  std::uint32_t CurrentProcessId() override { return base_.CurrentProcessId(); }
  std::u16string GetWindowTextW(Handle w, int n) override { return base_.GetWindowTextW(w, n); }
  bool IsWindowUnicode(Handle w) override { return base_.IsWindowUnicode(w); }
  std::uint32_t WindowStyle(Handle w) override { return base_.WindowStyle(w); }
  Handle GetParent(Handle w) override { return base_.GetParent(w); }
  PostResult PostMessageW(Handle w, std::uint32_t m, std::uintptr_t wp, std::intptr_t lp) override {
    return base_.PostMessageW(w, m, wp, lp);
  }
  std::uint32_t EnterScanCode() override { return base_.EnterScanCode(); }
  void SetForegroundWindow(Handle w) override { base_.SetForegroundWindow(w); }
  std::uint32_t TypeUnicode(std::u16string_view units) override { return base_.TypeUnicode(units); }
  std::uint32_t PressEnterKey() override { return base_.PressEnterKey(); }
  bool ModifierKeysHeld() override { return base_.ModifierKeysHeld(); }
  bool IsIconic(Handle w) override { return base_.IsIconic(w); }
  void RestoreWindow(Handle w) override { base_.RestoreWindow(w); }
  Handle RootWindow(Handle w) override { return base_.RootWindow(w); }
  bool RoundTrip(Handle w, std::uint32_t ms) override { return base_.RoundTrip(w, ms); }
  std::optional<std::vector<ClipboardFormat>> SaveClipboard() override { return base_.SaveClipboard(); }
  bool OfferClipboardText(std::u16string_view text) override { return base_.OfferClipboardText(text); }
  std::optional<std::uint32_t> AwaitClipboardRender(std::uint32_t ms,
                                                    const std::function<bool(std::uint32_t)>& accept) override {
    return base_.AwaitClipboardRender(ms, accept);
  }
  bool RestoreClipboard(const std::vector<ClipboardFormat>& formats) override { return base_.RestoreClipboard(formats); }
  std::uint32_t PressPasteKeys() override { return base_.PressPasteKeys(); }
  bool RequestPaint(Handle w) override { return base_.RequestPaint(w); }
  bool PaintPending(Handle w) override { return base_.PaintPending(w); }
  Handle GetDesktopWindow() override { return base_.GetDesktopWindow(); }
  void ShellExecuteA(Handle o, std::string_view op, std::string_view f, std::string_view p, std::string_view d,
                     int show) override {
    base_.ShellExecuteA(o, op, f, p, d, show);
  }

 private:
  WindowOps& base_;
};

// A desktop with the tool's main window, a chat window (input box, send button, owner)
// and a Messenger conversation window (its own input box, no button).
struct SendDesk {
  sim::SimDesktop desktop;
  sim::SimMainWindow window{desktop};
  StopRequest stop;
  TargetWindows chat;
  TargetWindows messenger;

  SendDesk() {
    const Handle frame = desktop.AddWindow(kNoWindow, "IEFrame", "Chat - Microsoft Internet Explorer");
    const Handle host = desktop.AddWindow(frame, "#32770");
    chat = {desktop.AddWindow(host, "MSNChatEdit4"), false, desktop.AddWindow(host, "SubclassButton", "", kChatButtonId),
            host};
    const Handle im = desktop.AddWindow(kNoWindow, "IMWindowClass", "Conversation");
    messenger = {desktop.AddWindow(im, "RichEdit20A"), true, kNoWindow, im};
  }

  void SetMessage(std::u16string text) { window.SetMessageText(text); }
  void SetHeaderFooter(bool before, bool after, std::u16string word = u"(^。^)") {
    window.SetCheck(CheckBox::PlusCheck, before || after ? 1 : 0);
    window.SetCheck(CheckBox::BeforePlusCheck, before ? 1 : 0);
    window.SetCheck(CheckBox::AfterPlusCheck, after ? 1 : 0);
    window.SetPlusWord(std::move(word));
  }
};

}  // namespace kakehashi::testing
