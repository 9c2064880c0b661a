// The send command and the delivery engine.
#include "delivery/send_command.h"

namespace kakehashi {

bool SendLines(WindowOps&, MainWindowView&, const TargetWindows&, SendMode, bool) { return false; }

void SendCommand(WindowOps&, MainWindowView&, const TargetWindows&) {}

}  // namespace kakehashi
