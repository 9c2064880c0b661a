// A request to end a send early: made on the window's thread (a stop pressed, the window
// closed), looked at by the send's thread between lines and waited on in its delays.
#pragma once

#include <cstdint>
#include <memory>

namespace kakehashi {

class StopRequest {
 public:
  StopRequest();
  ~StopRequest();
  StopRequest(const StopRequest&) = delete;
  StopRequest& operator=(const StopRequest&) = delete;

  // From any thread; wakes a wait under way.
  void Request();
  bool requested() const;
  // Waits until a request is made or `milliseconds` have passed: true when one was made.
  // A wait of 0 ms only looks.
  bool WaitFor(std::uint32_t milliseconds);

 private:
  // The platform's own event on Windows (the C++ library's threads would double the
  // program's size there), a mutex and condition variable elsewhere.
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace kakehashi
