// A request to end a send early: made on the window's thread (a stop pressed, the window
// closed), looked at by the send's thread between lines and waited on in its delays.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace kakehashi {

class StopRequest {
 public:
  StopRequest() = default;
  StopRequest(const StopRequest&) = delete;
  StopRequest& operator=(const StopRequest&) = delete;

  // From any thread; wakes a wait under way.
  void Request();
  bool requested() const;
  // Waits until a request is made or `milliseconds` have passed: true when one was made.
  bool WaitFor(std::uint32_t milliseconds);

 private:
  mutable std::mutex mutex_;
  std::condition_variable made_;
  bool requested_ = false;
};

}  // namespace kakehashi
