// One line of the practice chat program's message log.
#include "log_line.h"

#include <cstdio>

namespace practice_chat {

std::string FormatLogLine(double time_ms, std::string_view role, std::uint32_t message, std::uint32_t wparam,
                          std::uint32_t lparam) {
  char numbers[64];
  if (time_ms < 0) time_ms = 0;
  std::snprintf(numbers, sizeof numbers, "%.3f", time_ms);
  char codes[48];
  std::snprintf(codes, sizeof codes, " %04lx %08lx %08lx\n", static_cast<unsigned long>(message),
                static_cast<unsigned long>(wparam), static_cast<unsigned long>(lparam));
  std::string line(numbers);
  line += ' ';
  line += role;
  line += codes;
  return line;
}

}  // namespace practice_chat
