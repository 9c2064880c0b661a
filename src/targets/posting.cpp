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

}  // namespace kakehashi

namespace kakehashi {

std::optional<SendFailure> CatchUp(WindowOps& ops, Handle window, std::size_t messages) {
  for (std::size_t i = 0; i < messages; ++i) {
    bool unanswered = false;
    std::uint64_t unanswered_since = 0;
    while (!ops.RoundTrip(window, kRoundTripTimeoutMs)) {
      if (!ops.IsWindow(window)) return SendFailure::kTargetGone;
      const std::uint64_t now = ops.TickCount();
      if (!unanswered) unanswered_since = now;
      unanswered = true;
      if (now - unanswered_since >= kNotRespondingAfterMs) return SendFailure::kNotResponding;
      StopRequest pause;
      ops.Sleep(kRoundTripRetryMs, pause);
    }
  }
  return std::nullopt;
}

}  // namespace kakehashi
