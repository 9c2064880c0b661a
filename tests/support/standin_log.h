// Reads the message log of the practice chat program (tools/practice_chat, option --log).
// One line per message received:  <ms> <role> <message> <wparam> <lparam>
// e.g. "1523.406 chat-edit 0286 ffff82a0 00000000"; one per line sent:  <ms> <role> "<text>"
// e.g. 1523.406 today "あ👍🏽A" (UTF-8, with the escapes of tools/practice_chat/log_line.h).
// '#' starts a comment line.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kakehashi::testing {

// Receiver roles written by the practice chat program.
inline constexpr std::string_view kRoleChatFrame = "chat-frame";      // "IEFrame"
inline constexpr std::string_view kRoleChatView = "chat-view";        // "Shell DocObject View"
inline constexpr std::string_view kRoleChatPage = "chat-page";        // "Internet Explorer_Server"
inline constexpr std::string_view kRoleChatHost = "chat-host";        // "#32770"
inline constexpr std::string_view kRoleChatInput = "chat-input";      // "ATL:3723F798"
inline constexpr std::string_view kRoleChatEdit = "chat-edit";        // "MSNChatEdit4"
inline constexpr std::string_view kRoleChatButton = "chat-button";    // "SubclassButton"
inline constexpr std::string_view kRoleMessenger = "messenger";       // "IMWindowClass"
inline constexpr std::string_view kRoleMessengerButton = "messenger-button";  // its "button"
inline constexpr std::string_view kRoleToday = "today";               // today's chat: lines sent

struct StandinRecord {
  double time_ms = 0;  // monotonic clock of the practice chat program, milliseconds
  std::string role;
  std::uint32_t message = 0;
  std::uint32_t wparam = 0;  // low 32 bits
  std::uint32_t lparam = 0;  // low 32 bits
  std::optional<std::u16string> line;  // the text of a line sent (message, wparam, lparam 0)

  friend bool operator==(const StandinRecord&, const StandinRecord&) = default;
};

// The records of `text` in order. Comment and blank lines are skipped, and so is an
// unterminated last line (the program may be writing it right now). A line that does not
// fit the format is skipped too; `bad_lines`, when given, counts those.
std::vector<StandinRecord> ParseStandinLog(std::string_view text, int* bad_lines = nullptr);

// The records of the log file at `path`; empty when it cannot be read.
std::vector<StandinRecord> ReadStandinLog(const std::string& path, int* bad_lines = nullptr);

// Only the records of `role` (and, when not 0, of `message`).
std::vector<StandinRecord> RecordsOf(const std::vector<StandinRecord>& records, std::string_view role,
                                     std::uint32_t message = 0);

// The texts of the lines sent by `role`, in order.
std::vector<std::u16string> SentLines(const std::vector<StandinRecord>& records, std::string_view role);

}  // namespace kakehashi::testing
