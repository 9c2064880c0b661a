// Benchmarks of the Windows build, run on demand under Wine (bench/run.sh): each figure is
// measured against a bare baseline in the same run and printed with the ratio.
//   posting  - time per character from the press of 送信 to the last WM_IME_CHAR the practice
//              chat receives (4 lines x 200 characters, Wait empty), against a bare loop
//              posting the same messages to the same window;
//   poll     - CPU time of the tool over a span with the practice chat in front, against a
//              program whose 100 ms timer makes exactly the calls of one poll tick;
//   start-up - process start to main window visible, against a bare one-window program;
//   size     - the size of kakehashi.exe.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwctype>
#include <string>
#include <vector>

#include "forms/control_ids.h"
#include "support/standin_log.h"
#include "ui_driver/ui_driver.h"

namespace {

namespace ui = kakehashi::ui;
using kakehashi::testing::ReadStandinLog;
using kakehashi::testing::RecordsOf;
using kakehashi::testing::StandinRecord;

constexpr int kLines = 4;
constexpr int kLineLength = 200;

double NowMs() {
  LARGE_INTEGER counter, frequency;
  QueryPerformanceCounter(&counter);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

std::wstring Sibling(const wchar_t* relative) {
  std::wstring exe = ui::KakehashiExePath();  // <build>\src\app\kakehashi.exe
  for (int i = 0; i < 3; ++i) exe.erase(exe.find_last_of(L'\\'));
  return exe + relative;
}

void Report(const char* what, double value, double baseline, const char* unit, double goal) {
  const double ratio = baseline > 0 ? value / baseline : 0;
  std::printf("%-9s %10.3f %-6s baseline %10.3f %-6s ratio %5.2fx (goal <= %.1fx)\n", what, value, unit, baseline,
              unit, ratio, goal);
}

HWND Control(HWND main, kakehashi::ControlId id) { return ui::FindControl(main, kakehashi::IdNumber(id)); }

// --- posting ---

std::vector<StandinRecord> WaitForChars(const std::string& log, std::size_t count) {
  std::vector<StandinRecord> chars;
  ui::WaitUntil(
      [&] {
        chars = RecordsOf(ReadStandinLog(log), kakehashi::testing::kRoleChatEdit, 0x286);
        return chars.size() >= count;
      },
      30000);
  return chars;
}

bool MeasurePosting(double* tool_ms_per_char, double* bare_ms_per_char) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring wlog = std::wstring(temp) + L"kakehashi-bench-post.log";
  const std::string log(wlog.begin(), wlog.end());
  std::vector<double> tool_times, bare_times;
  const std::size_t total = kLines * kLineLength;

  std::wstring text;
  for (int line = 0; line < kLines; ++line) {
    if (line) text += L"\r\n";
    for (int i = 0; i < kLineLength; ++i) text += (i % 2) ? L'あ' : static_cast<wchar_t>(L'a' + i % 26);
  }

  for (int round = 0; round < 5; ++round) {
    DeleteFileW(wlog.c_str());
    ui::Process chat(ui::WindowsPath(PRACTICE_CHAT_EXE_PATH), L"--chat --log \"" + wlog + L"\"");
    ui::Process tool(ui::KakehashiExePath());
    HWND main = tool.WaitForWindow(kakehashi::kForm1Caption);
    HWND frame = nullptr;
    ui::WaitUntil([&] { return (frame = FindWindowW(L"IEFrame", nullptr)) != nullptr; });
    if (!main || !frame) return false;
    HWND edit = ui::FindControlByClass(frame, L"MSNChatEdit4");
    HWND status = Control(main, kakehashi::ControlId::Status);
    ui::BringToFront(frame);
    ui::WaitUntil([&] { return ui::Text(status).find(L"チャット") != std::wstring::npos; });
    ui::BringToFront(main);
    ui::Click(Control(main, kakehashi::ControlId::AAOpt));
    ui::SetText(Control(main, kakehashi::ControlId::Wait), L"");  // no delay
    ui::SetText(Control(main, kakehashi::ControlId::Message), text);

    const double start = NowMs();
    ui::Click(Control(main, kakehashi::ControlId::Send));
    std::vector<StandinRecord> chars = WaitForChars(log, total);
    if (chars.size() < total) return false;
    tool_times.push_back((chars.back().time_ms - start) / static_cast<double>(total));

    // The bare loop: the same messages posted straight to the same window.
    ui::WaitUntil([] { return false; }, 300);
    const std::size_t before = chars.size();
    const double bare_start = NowMs();
    for (int line = 0; line < kLines; ++line) {
      for (int i = 0; i < kLineLength; ++i) {
        PostMessageA(edit, 0x286, (i % 2) ? 0xFFFF82A0u : static_cast<WPARAM>('a' + i % 26), 0);
      }
      PostMessageA(GetParent(GetParent(edit)), WM_COMMAND, 1001, 0);
    }
    chars = WaitForChars(log, before + total);
    if (chars.size() < before + total) return false;
    bare_times.push_back((chars.back().time_ms - bare_start) / static_cast<double>(total));
  }
  DeleteFileW(wlog.c_str());
  *tool_ms_per_char = Median(tool_times);
  *bare_ms_per_char = Median(bare_times);
  return true;
}

// --- poll ---

// Wine: GetProcessTimes reports no CPU time for other processes, so the time is read from
// the Linux side: the process whose command line names the same program file, and the
// scheduler's nanosecond counts of all its threads (/proc/PID/task/*/schedstat).
std::string ReadWholeFile(const std::wstring& path) {
  std::string text;
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return text;
  char buffer[4096];
  DWORD n = 0;
  while (ReadFile(file, buffer, sizeof buffer, &n, nullptr) && n > 0) text.append(buffer, n);
  CloseHandle(file);
  return text;
}

std::wstring Lower(std::wstring s) {
  for (wchar_t& c : s) c = static_cast<wchar_t>(towlower(c));
  return s;
}

std::wstring FileName(const std::wstring& path) {
  const std::size_t at = path.find_last_of(L"\\/");
  return Lower(at == std::wstring::npos ? path : path.substr(at + 1));
}

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

double IdleCpuMs(const std::wstring& exe, int span_ms) {
  ui::Process program(exe);
  ui::WaitUntil([] { return false; }, 1500);  // let start-up settle
  const std::wstring pid = FindUnixProcess(exe);
  if (pid.empty()) return -1;
  ui::BringToFront(FindWindowW(L"IEFrame", nullptr));
  const double before = CpuMs(pid);
  Sleep(static_cast<DWORD>(span_ms));
  return CpuMs(pid) - before;
}

// --- start-up ---

// One start: process creation until the window with `caption` is visible. The program is
// ended afterwards and given time to go, so that runs do not overlap.
double StartUpMs(const std::wstring& exe, const wchar_t* caption) {
  const double start = NowMs();
  double visible = 0;
  {
    ui::Process program(exe);
    while (NowMs() - start < 20000) {
      HWND hwnd = FindWindowW(nullptr, caption);
      if (hwnd && IsWindowVisible(hwnd)) break;
      Sleep(1);
    }
    visible = NowMs() - start;
    program.Terminate();
    program.WaitForExit();
  }
  Sleep(300);
  return visible;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  // bench_driver [posting|poll|start-up|size ...] [--poll-span MS]; no names: all of them.
  int span_ms = 30000;
  std::vector<std::wstring> only;
  for (int i = 1; i < argc; ++i) {
    const std::wstring arg = argv[i];
    if (arg == L"--poll-span" && i + 1 < argc) {
      span_ms = _wtoi(argv[++i]);
    } else {
      only.push_back(arg);
    }
  }
  auto wanted = [&](const wchar_t* name) { return only.empty() || std::find(only.begin(), only.end(), name) != only.end(); };
  std::printf("Kakehashi benchmarks (Wine; posting: median of 5 runs, start-up: median of 7)\n");

  if (wanted(L"posting")) {
    double tool_post = 0, bare_post = 0;
    if (MeasurePosting(&tool_post, &bare_post)) {
      Report("posting", tool_post * 1000, bare_post * 1000, "us/chr", 1.2);
    } else {
      std::printf("posting   failed: the practice chat did not receive every character\n");
    }
  }

  if (wanted(L"poll")) {
    ui::Process chat(ui::WindowsPath(PRACTICE_CHAT_EXE_PATH), L"--chat");
    ui::WaitUntil([] { return FindWindowW(L"IEFrame", nullptr) != nullptr; });
    const double tool_cpu = IdleCpuMs(ui::KakehashiExePath(), span_ms);
    const double bare_cpu = IdleCpuMs(Sibling(L"\\bench\\bench_poll_baseline.exe"), span_ms);
    Report("poll", tool_cpu, bare_cpu, "ms CPU", 1.5);
  }

  if (wanted(L"start-up")) {
    // Alternate the two programs so that both see the same conditions.
    std::vector<double> tool_times, bare_times;
    for (int round = 0; round < 7; ++round) {
      tool_times.push_back(StartUpMs(ui::KakehashiExePath(), kakehashi::kForm1Caption));
      bare_times.push_back(StartUpMs(Sibling(L"\\bench\\bench_bare_window.exe"), L"bench bare window"));
    }
    Report("start-up", Median(tool_times), Median(bare_times), "ms", 1.5);
  }

  if (wanted(L"size")) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExW(ui::KakehashiExePath().c_str(), GetFileExInfoStandard, &data);
    std::printf("size      %10.1f KB  (goal <= 300 KB, one file)\n", static_cast<double>(data.nFileSizeLow) / 1024.0);
  }
  return 0;
}
