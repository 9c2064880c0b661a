// What a send types into, behind one seam: the chat windows found by the poll, the window
// in front typed into with keystrokes, or a picked window posted to in the background.
// The engine shapes each line by the target's text rules and hands it over.
#pragma once

#include <string_view>

#include "delivery/status_texts.h"

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
  // After the last line, or after a stop or failure.
  virtual void End(bool /*delivered*/) {}
};

}  // namespace kakehashi
