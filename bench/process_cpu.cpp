// CPU time of the benchmark's processes.
// Wine: GetProcessTimes reports no CPU time for other processes, so the time is read from the
// Linux side (drive Z: is the root): the process whose command line names the same program
// file, and the scheduler's nanosecond counts of all its threads (/proc/PID/task/*/schedstat).
#include "process_cpu.h"

#include <windows.h>

#include <cstdlib>
#include <cwctype>

namespace kakehashi::bench {
namespace {

std::string ReadWholeFile(const std::wstring& path) {
  std::string text;
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                            nullptr);
  if (file == INVALID_HANDLE_VALUE) return text;
  char buffer[4096];
  DWORD n = 0;
  while (ReadFile(file, buffer, sizeof buffer, &n, nullptr) && n > 0) text.append(buffer, n);
  CloseHandle(file);
  return text;
}

// A path in one spelling for comparison: lower case, backslashes, a Unix path on drive Z:.
std::wstring Comparable(std::wstring path) {
  for (wchar_t& c : path) c = c == L'/' ? L'\\' : static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
  if (!path.empty() && path[0] == L'\\') path.insert(0, L"z:");
  return path;
}

}  // namespace

std::wstring FindUnixProcess(const std::wstring& exe) {
  // The whole path, not only the file name: other builds on the same machine may run programs
  // of the same name at the same time.
  wchar_t full[MAX_PATH] = {};
  const std::wstring wanted = Comparable(GetFullPathNameW(exe.c_str(), MAX_PATH, full, nullptr) ? full : exe);
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW(L"Z:\\proc\\*", &found);
  if (find == INVALID_HANDLE_VALUE) return {};
  std::wstring result;
  do {
    const std::wstring pid = found.cFileName;
    if (pid.empty() || pid.find_first_not_of(L"0123456789") != std::wstring::npos) continue;
    const std::string cmdline = ReadWholeFile(L"Z:\\proc\\" + pid + L"\\cmdline");
    const std::string first = cmdline.substr(0, cmdline.find('\0'));
    if (Comparable(std::wstring(first.begin(), first.end())) == wanted) result = pid;
  } while (result.empty() && FindNextFileW(find, &found));
  FindClose(find);
  return result;
}

double CpuMs(const std::wstring& pid) {
  if (pid.empty()) return -1;
  double ns = 0;
  const std::wstring tasks = L"Z:\\proc\\" + pid + L"\\task\\";
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW((tasks + L"*").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return -1;
  do {
    if (found.cFileName[0] == L'.') continue;
    ns += std::strtod(ReadWholeFile(tasks + found.cFileName + L"\\schedstat").c_str(), nullptr);
  } while (FindNextFileW(find, &found));
  FindClose(find);
  return ns / 1e6;
}

std::string LoadAverage() {
  std::string text = ReadWholeFile(L"Z:\\proc\\loadavg");
  std::size_t end = 0;
  for (int field = 0; field < 3 && end != std::string::npos; ++field) end = text.find(' ', end + (field ? 1 : 0));
  return text.substr(0, end);
}

}  // namespace kakehashi::bench
