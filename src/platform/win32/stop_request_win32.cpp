// The stop request of a send, as a manual-reset event of the platform.
#include <windows.h>

#include <atomic>

#include "platform/stop_request.h"

namespace kakehashi {

struct StopRequest::State {
  // Win32: without an event (out of handles) a request is still seen, only not waited on.
  HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::atomic<bool> requested{false};
  ~State() {
    if (event) CloseHandle(event);
  }
};

StopRequest::StopRequest() : state_(std::make_unique<State>()) {}
StopRequest::~StopRequest() = default;

void StopRequest::Request() {
  state_->requested = true;
  if (state_->event) SetEvent(state_->event);
}

bool StopRequest::requested() const { return state_->requested; }

bool StopRequest::WaitFor(std::uint32_t milliseconds) {
  if (milliseconds == 0 || requested()) return requested();
  if (state_->event) {
    WaitForSingleObject(state_->event, milliseconds);
  } else {
    Sleep(milliseconds);
  }
  return requested();
}

}  // namespace kakehashi
