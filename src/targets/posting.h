// Posting to another program's window with back-pressure: a full message queue is waited
// for, not taken for a failure.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "delivery/status_texts.h"
#include "platform/window_ops.h"

namespace kakehashi {

// A post refused because the receiver's queue is full is tried again after this pause,
// until the receiver has taken none of the tool's messages for kNotRespondingAfterMs.
inline constexpr std::uint32_t kQueueFullPauseMs = 10;
inline constexpr std::uint32_t kNotRespondingAfterMs = 10000;

// Makes `post` until it is taken. Nothing when it was; else why the send must end.
std::optional<SendFailure> PostPatiently(WindowOps& ops, const std::function<PostResult()>& post);

}  // namespace kakehashi
