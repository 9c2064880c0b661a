// The foreground window poll.
#include "targets/foreground_poll.h"

namespace kakehashi {

void PollForegroundWindow(WindowOps&, MainWindowView&, TargetWindows&) {}

}  // namespace kakehashi
