// The practice chat program's message log: one line per received message or sent line, kept
// until Flush, which the program calls whenever its queue runs empty, so that a test can read
// the whole log while the program waits for more. Today's chat writes from its own thread.
#pragma once

#include <windows.h>

#include <mutex>
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
  // A line that a window sent, timed now; written to the file at the next Flush.
  void WriteSent(std::string_view role, std::u16string_view text);
  void Comment(std::string_view text);
  // Writes the lines kept so far.
  void Flush();
  bool has_pending() const;

 private:
  void Keep(const std::string& line);
  void FlushKept();  // with mutex_ held

  HANDLE file_ = INVALID_HANDLE_VALUE;
  mutable std::mutex mutex_;  // guards pending_ and the file's order of lines
  std::string pending_;
  double ms_per_tick_ = 0;
};

}  // namespace practice_chat
