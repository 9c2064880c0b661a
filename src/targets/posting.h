// Posting to another program's window with back-pressure: a full message queue is waited
// for, not taken for a failure; and waiting until the program's thread has taken what was
// queued for it.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "targets/target_status.h"
#include "platform/window_ops.h"

namespace kakehashi {

// A post refused because the receiver's queue is full is tried again after this pause,
// until the receiver has taken none of the tool's messages for kNotRespondingAfterMs.
inline constexpr std::uint32_t kQueueFullPauseMs = 10;
inline constexpr std::uint32_t kNotRespondingAfterMs = 10000;

// Makes `post` until it is taken. Nothing when it was; else why the send must end.
std::optional<SendFailure> PostPatiently(WindowOps& ops, const std::function<PostResult()>& post);

// One round trip waits at most this long; one that was not answered is tried again after
// the pause, until the thread has answered none for kNotRespondingAfterMs.
inline constexpr std::uint32_t kRoundTripTimeoutMs = 250;
inline constexpr std::uint32_t kRoundTripRetryMs = 20;

// Round trips to the thread of `window` until it has taken `messages` more of the messages
// and keys queued for it (each answered round trip lets it take at least one). Nothing
// when it has; else why the send must end: the window is gone, or it does not answer.
std::optional<SendFailure> CatchUp(WindowOps& ops, Handle window, std::size_t messages);

// Between two looks at a window that waits to be painted; and how long a program that
// answers may leave it unpainted before counting takes over.
inline constexpr std::uint32_t kPaintPollMs = 1;
inline constexpr std::uint32_t kPaintWaitMs = 2000;

// Waits until the thread of `window` has taken all that was queued for it, and what its
// handling queued in turn: until `painted`, a window of that thread, has been painted
// after a request to (WindowOps::RequestPaint), since a thread paints only once nothing
// is left in its queue. A window that cannot be painted (minimized or hidden), or that the
// program leaves unpainted for kPaintWaitMs while it answers, is waited for by `messages`
// counted round trips instead (CatchUp). A round trip to `window` at each look tells a
// program that has gone or does not answer. Nothing when it was painted; else why the
// send must end.
std::optional<SendFailure> AwaitPaint(WindowOps& ops, Handle window, Handle painted, std::size_t messages);

}  // namespace kakehashi
