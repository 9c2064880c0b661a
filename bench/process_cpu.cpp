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

std::wstring FileName(const std::wstring& path) {
  const std::size_t at = path.find_last_of(L"\\/");
  std::wstring name = at == std::wstring::npos ? path : path.substr(at + 1);
  for (wchar_t& c : name) c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
  return name;
}

}  // namespace

std::wstring FindUnixProcess(const std::wstring& exe) {
  const std::wstring name = FileName(exe);
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW(L"Z:\\proc\\*", &found);
  if (find == INVALID_HANDLE_VALUE) return {};
  std::wstring result;
  do {
    const std::wstring pid = found.cFileName;
    if (pid.empty() || pid.find_first_not_of(L"0123456789") != std::wstring::npos) continue;
    const std::string cmdline = ReadWholeFile(L"Z:\\proc\\" + pid + L"\\cmdline");
    const std::string first = cmdline.substr(0, cmdline.find('\0'));
    if (FileName(std::wstring(first.begin(), first.end())) == name) result = pid;
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
