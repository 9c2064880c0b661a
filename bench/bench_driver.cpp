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
#include <string>
#include <vector>

#include "forms/control_ids.h"
#include "support/standin_log.h"
#include "support/ui_driver.h"

namespace {

namespace ui = kakehashi::ui;
using kakehashi::testing::ReadStandinLog;
using kakehashi::testing::RecordsOf;
using kakehashi::testing::StandinRecord;

constexpr wchar_t kToolCaption[] = L"Kakehashi 入力支援ツール　ver 1.5";
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
    HWND main = tool.WaitForWindow(kToolCaption);
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

double CpuMs(HANDLE process) {
  FILETIME created, exited, kernel, user;
  if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return -1;
  auto ms = [](FILETIME t) { return static_cast<double>(static_cast<ULONGLONG>(t.dwHighDateTime) << 32 | t.dwLowDateTime) / 10000.0; };
  return ms(kernel) + ms(user);
}

double IdleCpuMs(const std::wstring& exe, int span_ms) {
  ui::Process program(exe);
  HANDLE handle = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, program.id());
  ui::WaitUntil([] { return false; }, 1500);  // let start-up settle
  HWND frame = FindWindowW(L"IEFrame", nullptr);
  ui::BringToFront(frame);
  const double before = CpuMs(handle);
  Sleep(static_cast<DWORD>(span_ms));
  const double after = CpuMs(handle);
  CloseHandle(handle);
  return after - before;
}

// --- start-up ---

double StartUpMs(const std::wstring& exe, const wchar_t* caption) {
  std::vector<double> times;
  for (int round = 0; round < 5; ++round) {
    const double start = NowMs();
    ui::Process program(exe);
    HWND hwnd = nullptr;
    while (NowMs() - start < 20000) {
      hwnd = FindWindowW(nullptr, caption);
      if (hwnd && IsWindowVisible(hwnd)) break;
      Sleep(1);
    }
    times.push_back(NowMs() - start);
  }
  return Median(times);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int span_ms = argc > 1 ? _wtoi(argv[1]) : 30000;
  std::printf("Kakehashi benchmarks (Wine, medians of 5 runs where repeated)\n");

  double tool_post = 0, bare_post = 0;
  if (MeasurePosting(&tool_post, &bare_post)) {
    Report("posting", tool_post * 1000, bare_post * 1000, "us/chr", 1.2);
  } else {
    std::printf("posting   failed: the practice chat did not receive every character\n");
  }

  {
    ui::Process chat(ui::WindowsPath(PRACTICE_CHAT_EXE_PATH), L"--chat");
    ui::WaitUntil([] { return FindWindowW(L"IEFrame", nullptr) != nullptr; });
    const double tool_cpu = IdleCpuMs(ui::KakehashiExePath(), span_ms);
    const double bare_cpu = IdleCpuMs(Sibling(L"\\bench\\bench_poll_baseline.exe"), span_ms);
    Report("poll", tool_cpu, bare_cpu, "ms CPU", 1.5);
  }

  const double tool_start = StartUpMs(ui::KakehashiExePath(), kToolCaption);
  const double bare_start = StartUpMs(Sibling(L"\\bench\\bench_bare_window.exe"), L"bench bare window");
  Report("start-up", tool_start, bare_start, "ms", 1.5);

  WIN32_FILE_ATTRIBUTE_DATA data{};
  GetFileAttributesExW(ui::KakehashiExePath().c_str(), GetFileExInfoStandard, &data);
  std::printf("size      %10.1f KB  (goal <= 300 KB, one file)\n", static_cast<double>(data.nFileSizeLow) / 1024.0);
  return 0;
}
