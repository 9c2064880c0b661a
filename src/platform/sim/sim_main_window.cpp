// The in-memory main window.
#include "platform/sim/sim_main_window.h"

namespace kakehashi::sim {

SimMainWindow::SimMainWindow(SimDesktop& desktop)
    : desktop_(desktop), message_(desktop.AddEdit(desktop.AddWindow(kNoWindow, "Kakehashi"))) {
  desktop_.SetProcess(desktop_.GetParent(message_), SimDesktop::kOwnProcess);
  desktop_.SetUnicode(message_, true);
  desktop_.SetStyle(message_, kEsMultiLine);
}

int SimMainWindow::CheckValue(CheckBox box) const {
  const auto it = checks_.find(box);
  return it == checks_.end() ? 0 : it->second;
}

}  // namespace kakehashi::sim
