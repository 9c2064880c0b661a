// The stop request of a send.
#include "platform/stop_request.h"

#include <chrono>

namespace kakehashi {

void StopRequest::Request() {
  {
    const std::lock_guard lock(mutex_);
    requested_ = true;
  }
  made_.notify_all();
}

bool StopRequest::requested() const {
  const std::lock_guard lock(mutex_);
  return requested_;
}

bool StopRequest::WaitFor(std::uint32_t milliseconds) {
  std::unique_lock lock(mutex_);
  // Win32: winpthreads rounds a timed wait up to the timer's tick: a wait of nothing
  // must not wait at all (Wait 0 is the usual setting for pictures).
  if (milliseconds == 0) return requested_;
  return made_.wait_for(lock, std::chrono::milliseconds(milliseconds), [this] { return requested_; });
}

}  // namespace kakehashi
