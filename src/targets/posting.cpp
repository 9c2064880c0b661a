// Posting with back-pressure.
#include "targets/posting.h"

namespace kakehashi {

// Win32: a thread's queue takes at most 10,000 posted messages; past that PostMessage
// fails with 1816 while the receiver works through its backlog. That is back-pressure,
// not failure: the post is tried again after a pause, until the receiver has taken
// nothing for kNotRespondingAfterMs by the clock (a 10 ms wait may last a timer tick of
// 16 ms). The pauses are not cut short by a stop, which waits for the end of the line.
std::optional<SendFailure> PostPatiently(WindowOps& ops, const std::function<PostResult()>& post) {
  bool refused = false;
  std::uint64_t refused_since = 0;
  for (;;) {
    const PostResult result = post();
    if (result.ok()) return std::nullopt;
    const std::uint64_t now = ops.TickCount();
    if (!refused) refused_since = now;
    refused = true;
    if (result.error == kErrorAccessDenied) return SendFailure::kDenied;
    if (result.error != kErrorNotEnoughQuota) return SendFailure::kTargetGone;
    if (now - refused_since >= kNotRespondingAfterMs) return SendFailure::kNotResponding;
    StopRequest pause;
    ops.Sleep(kQueueFullPauseMs, pause);
  }
}

namespace {

// Round trips to a window's thread: how long it has answered none.
class Answers {
 public:
  explicit Answers(WindowOps& ops, Handle window) : ops_(ops), window_(window) {}
  // One round trip: nothing when it was answered or may be tried again after a pause, else
  // why the send must end.
  std::optional<SendFailure> Ask(bool& answered) {
    answered = ops_.RoundTrip(window_, kRoundTripTimeoutMs);
    if (answered) {
      unanswered_ = false;
      return std::nullopt;
    }
    if (!ops_.IsWindow(window_)) return SendFailure::kTargetGone;
    const std::uint64_t now = ops_.TickCount();
    if (!unanswered_) unanswered_since_ = now;
    unanswered_ = true;
    if (now - unanswered_since_ >= kNotRespondingAfterMs) return SendFailure::kNotResponding;
    return std::nullopt;
  }

 private:
  WindowOps& ops_;
  Handle window_;
  bool unanswered_ = false;
  std::uint64_t unanswered_since_ = 0;
};

}  // namespace

std::optional<SendFailure> CatchUp(WindowOps& ops, Handle window, std::size_t messages) {
  Answers answers(ops, window);
  for (std::size_t i = 0; i < messages;) {
    bool answered = false;
    if (const auto failure = answers.Ask(answered)) return failure;
    if (answered) {
      ++i;
    } else {
      StopRequest pause;
      ops.Sleep(kRoundTripRetryMs, pause);
    }
  }
  return std::nullopt;
}

// Win32: a thread paints only once its posted queue is empty, whatever answered the round
// trips meanwhile (see WindowOps::RoundTrip: under Wine they can run ahead of the thread).
// Measured under Wine: Notepad took 13 messages of a line only after 10 to 22 round trips,
// and a line's '\r' then and again came after the next line's first characters.
std::optional<SendFailure> AwaitPaint(WindowOps& ops, Handle window, Handle painted, std::size_t messages) {
  if (!ops.RequestPaint(painted)) return CatchUp(ops, window, messages);
  Answers answers(ops, window);
  const std::uint64_t requested = ops.TickCount();
  for (;;) {
    bool answered = false;
    if (const auto failure = answers.Ask(answered)) return failure;
    if (!ops.PaintPending(painted)) break;
    // Win32: a program may handle WM_PAINT without validating its window, and is then
    // asked to paint again and again: no paint of it tells how far it has come.
    if (answered && ops.TickCount() - requested >= kPaintWaitMs) return CatchUp(ops, window, messages);
    StopRequest pause;
    ops.Sleep(answered ? kPaintPollMs : kRoundTripRetryMs, pause);
  }
  // A window that is gone is never painted.
  if (!ops.IsWindow(window)) return SendFailure::kTargetGone;
  return std::nullopt;
}

}  // namespace kakehashi
