// Where the foreground poll shows the caption of the target it found: the main window's
// status line, as its portable view (delivery/main_window_view.h) gives it.
#pragma once

#include <string>

namespace kakehashi {

class TargetCaptionView {
 public:
  // Writes the target's caption into the status line; a send that goes through shows it
  // again.
  virtual void SetTargetStatus(const std::u16string& caption) = 0;

 protected:
  ~TargetCaptionView() = default;
};

}  // namespace kakehashi
