// What a send types into, behind one seam: the chat windows found by the poll, the window
// in front typed into with keystrokes, or a picked window posted to in the background.
// The engine shapes each line by the target's text rules and hands it over.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string_view>
#include <utility>

#include "targets/target_status.h"

namespace kakehashi {

enum class TextRules {
  kChat,      // lines read from the box as the chat's ANSI read gives them; code page 932;
              // reversal by character; the four-line limit
  kCodePage,  // whole lines; code page 932; reversal by character
  kUnicode,   // whole lines; any character but lone surrogates and controls; reversal by
              // user-perceived character
};

class SendTarget {
 public:
  virtual ~SendTarget() = default;

  virtual TextRules Rules() const = 0;
  // What is known of the target before the text is looked at: empty when it is there,
  // else the refusal (a picked window closed since).
  virtual std::u16string_view Unavailable() { return {}; }
  // Whether more than four lines are refused unless the limit is lifted.
  virtual bool LineLimitApplies() const { return false; }
  // Whether a line goes to Type in one piece, header and footer included (it is pasted).
  virtual bool TypesWholeLines() const { return false; }
  // Checks made, and preparations done, before anything is typed: an empty text when the
  // send may begin, else the refusal. `press`: lines will be said.
  virtual StatusText Begin(bool press) = 0;
  // Types `text`, shaped. False when the send ends here: Stopped() or Failure() says why.
  virtual bool Type(std::u16string_view text) = 0;
  // Says the line typed. False as for Type.
  virtual bool Press() = 0;
  // Type or Press ended the send on a stop request (a stop that cannot wait for the end
  // of the line).
  virtual bool Stopped() const { return false; }
  virtual SendFailure Failure() const = 0;
  // After Type ended the send: how many UTF-16 units of its text the program got, when the
  // target knows; nothing when it does not (the whole line then counts as not sent).
  virtual std::optional<std::size_t> TypedUnits() const { return std::nullopt; }
  // After the last line, or after a stop or failure.
  virtual void End(bool /*delivered*/) {}

  // The send is told when the target waits for the user (`why`) and when it goes on
  // (an empty text), so that the status line can say why nothing moves.
  using WaitNotice = std::function<void(const StatusText& why)>;
  void SetWaitNotice(WaitNotice notice) { wait_notice_ = std::move(notice); }

 protected:
  void NoticeWait(const StatusText& why) {
    if (wait_notice_) wait_notice_(why);
  }

 private:
  WaitNotice wait_notice_;
};

}  // namespace kakehashi
