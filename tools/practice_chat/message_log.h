// The practice chat program's message log: one line per received message, written
// through to the file at once so that a test can read it while the program runs.
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

  void Write(std::string_view role, UINT message, WPARAM wparam, LPARAM lparam);
  void Comment(std::string_view text);

 private:
  void WriteBytes(const std::string& bytes);

  HANDLE file_ = INVALID_HANDLE_VALUE;
  double ms_per_tick_ = 0;
};

}  // namespace practice_chat
