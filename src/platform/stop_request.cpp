// The stop request of a send, with the C++ library's mutex and condition variable.
#include "platform/stop_request.h"

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace kakehashi {

struct StopRequest::State {
  std::mutex mutex;
  std::condition_variable made;
  bool requested = false;
};

StopRequest::StopRequest() : state_(std::make_unique<State>()) {}
StopRequest::~StopRequest() = default;

void StopRequest::Request() {
  {
    const std::lock_guard lock(state_->mutex);
    state_->requested = true;
  }
  state_->made.notify_all();
}

bool StopRequest::requested() const {
  const std::lock_guard lock(state_->mutex);
  return state_->requested;
}

bool StopRequest::WaitFor(std::uint32_t milliseconds) {
  std::unique_lock lock(state_->mutex);
  if (milliseconds == 0) return state_->requested;
  return state_->made.wait_for(lock, std::chrono::milliseconds(milliseconds), [this] { return state_->requested; });
}

}  // namespace kakehashi
