// The practice chat program's message log: one line per received message, kept until Flush,
// which the program calls whenever its queue runs empty, so that a test can read the whole
// log while the program waits for more.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace practice_chat {

class MessageLog {
 public:
  MessageLog();
  ~MessageLog();
  MessageLog(const MessageLog&) = delete;
  MessageLog& operator=(const MessageLog&) = delete;

  // Creates (or empties) the file; false when it cannot be created.
  bool Open(const std::wstring& path);
  bool is_open() const { return file_ != INVALID_HANDLE_VALUE; }

  // Milliseconds of the performance counter. The counter is system-wide, so times of
  // other processes taken the same way compare with the log's.
  double NowMs() const;

  // The line of one message, timed now; written to the file at the next Flush.
  void Write(std::string_view role, UINT message, WPARAM wparam, LPARAM lparam);
  void Comment(std::string_view text);
  // Writes the lines kept so far.
  void Flush();
  bool has_pending() const { return !pending_.empty(); }

 private:
  void Keep(const std::string& line);

  HANDLE file_ = INVALID_HANDLE_VALUE;
  std::string pending_;
  double ms_per_tick_ = 0;
};

}  // namespace practice_chat
