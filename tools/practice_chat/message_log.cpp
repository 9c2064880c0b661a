// The practice chat program's message log.
#include "message_log.h"

#include "log_line.h"

namespace practice_chat {

MessageLog::MessageLog() {
  LARGE_INTEGER frequency{};
  ::QueryPerformanceFrequency(&frequency);
  ms_per_tick_ = frequency.QuadPart > 0 ? 1000.0 / static_cast<double>(frequency.QuadPart) : 0;
}

MessageLog::~MessageLog() {
  if (!is_open()) return;
  Flush();
  ::CloseHandle(file_);
}

bool MessageLog::Open(const std::wstring& path) {
  // Shared for reading and writing: tests read the log while this program still writes it.
  file_ = ::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                        CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  return is_open();
}

double MessageLog::NowMs() const {
  LARGE_INTEGER counter{};
  ::QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) * ms_per_tick_;
}

void MessageLog::Write(std::string_view role, UINT message, WPARAM wparam, LPARAM lparam) {
  if (!is_open()) return;
  Keep(FormatLogLine(NowMs(), role, message, static_cast<std::uint32_t>(wparam & 0xFFFFFFFFu),
                           static_cast<std::uint32_t>(static_cast<ULONG_PTR>(lparam) & 0xFFFFFFFFu)));
}

void MessageLog::WriteSent(std::string_view role, std::u16string_view text) {
  if (!is_open()) return;
  Keep(FormatSentLine(NowMs(), role, text));
}

void MessageLog::Comment(std::string_view text) {
  if (!is_open()) return;
  std::string line = "# ";
  line += text;
  line += '\n';
  Keep(line);
}

void MessageLog::Keep(const std::string& line) {
  constexpr std::size_t kMostKept = 64 * 1024;
  const std::lock_guard<std::mutex> lock(mutex_);
  pending_ += line;
  if (pending_.size() >= kMostKept) FlushKept();
}

bool MessageLog::has_pending() const {
  const std::lock_guard<std::mutex> lock(mutex_);
  return !pending_.empty();
}

void MessageLog::Flush() {
  const std::lock_guard<std::mutex> lock(mutex_);
  FlushKept();
}

void MessageLog::FlushKept() {
  // One WriteFile per burst instead of one per message: each is a system call.
  std::size_t done = 0;
  while (done < pending_.size()) {
    DWORD written = 0;
    const DWORD size = static_cast<DWORD>(pending_.size() - done);
    if (!::WriteFile(file_, pending_.data() + done, size, &written, nullptr) || written == 0) break;
    done += written;
  }
  pending_.clear();
}

}  // namespace practice_chat
